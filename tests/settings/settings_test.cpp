#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_io.h"
#include "support/temp_dir.h"

namespace holvex {
namespace {

TEST(SettingNumber, DecimalAndHexadecimalForms) {
  EXPECT_EQ(ParseSettingNumber("0"), 0);
  EXPECT_EQ(ParseSettingNumber("2"), 2);
  EXPECT_EQ(ParseSettingNumber("-5"), -5);
  EXPECT_EQ(ParseSettingNumber("0x10"), 16);
  EXPECT_EQ(ParseSettingNumber("0X1F"), 31);
  EXPECT_EQ(ParseSettingNumber("0x"), std::nullopt);  // two characters: decimal, and no number
  EXPECT_EQ(ParseSettingNumber("0x0"), 0);
  EXPECT_EQ(ParseSettingNumber("ja"), std::nullopt);
  EXPECT_EQ(ParseSettingNumber(""), std::nullopt);
  EXPECT_EQ(ParseSettingNumber("12abc"), std::nullopt);
  EXPECT_EQ(ParseSettingNumber("0xZZ"), std::nullopt);
  EXPECT_EQ(ParseSettingNumber("99999999999"), std::nullopt);
}

TEST(Settings, DefaultsWithoutFile) {
  GeneralSettings s = ReadGeneralSettings(IniDocument());
  EXPECT_FALSE(s.playwav);
  EXPECT_TRUE(s.status);
  EXPECT_FALSE(s.autostart);
  EXPECT_FALSE(s.systemtray);
  EXPECT_TRUE(s.splashscreen);
  EXPECT_EQ(s.wavfile, "");
  EXPECT_EQ(s.downloadfolder, "C:\\");
  ProxySettings p = ReadProxySettings(IniDocument());
  EXPECT_EQ(p.server + p.port + p.username + p.password, "");
}

TEST(Settings, YesNoRulesAndEmptyTextIsNotMissing) {
  IniDocument doc = IniDocument::Parse(
      "[ALLGEMEIN]\r\nplaywav=ja\r\nstatus=0\r\nautostart=2\r\nsystemtray=0x10\r\nsplashscreen=0x\r\n"
      "downloadfolder=\r\nWavFile=C:\\a.wav\r\n[proxy]\r\nserver=p\r\nport=80x\r\n");
  GeneralSettings s = ReadGeneralSettings(doc);
  EXPECT_FALSE(s.playwav);      // not a number: default no
  EXPECT_FALSE(s.status);
  EXPECT_TRUE(s.autostart);
  EXPECT_TRUE(s.systemtray);
  EXPECT_TRUE(s.splashscreen);  // bare "0x": default yes
  EXPECT_EQ(s.downloadfolder, "");
  EXPECT_EQ(s.wavfile, "C:\\a.wav");
  ProxySettings p = ReadProxySettings(doc);
  EXPECT_EQ(p.server, "p");
  EXPECT_EQ(p.port, "80x");
}

TEST(SettingsFile, EachSaveWritesItsWholeSectionAndLeavesEveryOtherLineAlone) {
  test::TempDir dir;
  const std::string before = "; mine\n[proxy]\nserver=keep\nfoo=bar\n[allgemein]\nplaywav=ja\nextra=1\n";
  dir.Write("load.ini", before);
  SettingsFile file(dir.File("load.ini"));
  GeneralSettings s;
  s.playwav = true;
  s.downloadfolder = "D:\\dl";
  WriteGeneralSettings(file, s);
  EXPECT_EQ(dir.Read("load.ini"),
            "; mine\n[proxy]\nserver=keep\nfoo=bar\n[allgemein]\nplaywav=1\nextra=1\nstatus=1\r\n"
            "autostart=0\r\nsystemtray=0\r\nsplashscreen=1\r\ndownloadfolder=D:\\dl\r\nwavfile=\r\n");
  WriteProxySettings(file, ProxySettings{"proxy.lan", "", "u", "p w"});
  EXPECT_EQ(dir.Read("load.ini"),
            "; mine\n[proxy]\nserver=proxy.lan\nfoo=bar\nport=\r\nusername=u\r\npassword=p w\r\n[allgemein]\n"
            "playwav=1\nextra=1\nstatus=1\r\nautostart=0\r\nsystemtray=0\r\nsplashscreen=1\r\n"
            "downloadfolder=D:\\dl\r\nwavfile=\r\n");
}

TEST(SettingsFile, RefusedWriteRaisesTheGermanErrorAndLeavesTheWholeFile) {
  test::TempDir dir;
  const std::string before = "[proxy]\nserver=old\nport=1\n";
  dir.Write("load.ini", before);
  std::filesystem::create_directory(dir.File("load.ini.tmp"));  // where the new file would be written
  SettingsFile file(dir.File("load.ini"));
  try {
    WriteProxySettings(file, ProxySettings{"new", "2", "u", "p"});
    FAIL() << "the write went through";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "In " + file.path() + " kann nicht geschrieben werden");
  }
  EXPECT_EQ(dir.Read("load.ini"), before);
  EXPECT_THROW(WriteProxySettings(SettingsFile(PathInDirectory(dir.File("missing"), "load.ini")), {}),
               EIniFileException);
}

TEST(ProxyAddress, PortNumberAndTheEnginesServerPort) {
  EXPECT_EQ(ProxyPortNumber(""), 0);
  EXPECT_EQ(ProxyPortNumber("8080"), 8080);
  EXPECT_EQ(ProxyPortNumber("80x"), std::nullopt);
  EXPECT_EQ(ProxyPortNumber("0xFFFFFFFF"), std::nullopt);
  EXPECT_EQ(EngineProxyAddress({"proxy", "8080", "", ""}), "proxy:8080");
  EXPECT_EQ(EngineProxyAddress({"proxy:3128", "8080", "", ""}), "proxy:3128");  // the server's own port wins
  EXPECT_EQ(EngineProxyAddress({"[::1]", "8080", "", ""}), "[::1]:8080");
  EXPECT_EQ(EngineProxyAddress({"proxy", "", "", ""}), "proxy");
  EXPECT_EQ(EngineProxyAddress({"proxy", "80x", "", ""}), "proxy");
  EXPECT_EQ(EngineProxyAddress({"", "8080", "", ""}), "");  // no server: no proxy at all
}

TEST(SettingsFile, UnreadableOrDamagedFileGivesDefaults) {
  test::TempDir dir;
  std::string junk;
  for (int i = 0; i < 100000; ++i) junk += static_cast<char>((i * 31 + 5) % 256);
  dir.Write("load.ini", junk);
  GeneralSettings s = ReadGeneralSettings(SettingsFile(dir.File("load.ini")).Load());
  EXPECT_EQ(s.downloadfolder, "C:\\");
  EXPECT_EQ(ReadGeneralSettings(SettingsFile(dir.path()).Load()).downloadfolder, "C:\\");  // a folder
}

}  // namespace
}  // namespace holvex
