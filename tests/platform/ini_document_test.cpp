#include "platform/ini_document.h"

#include <gtest/gtest.h>

namespace holvex {
namespace {

TEST(IniDocument, NamesMatchWithoutRegardToCaseAndValueSplitsAtFirstEquals) {
  IniDocument doc = IniDocument::Parse("[Allgemein]\r\nDownloadFolder=C:\\a=b\r\n");
  EXPECT_EQ(doc.Get("allgemein", "downloadfolder"), "C:\\a=b");
  EXPECT_EQ(doc.Get("ALLGEMEIN", "DOWNLOADFOLDER"), "C:\\a=b");
}

TEST(IniDocument, MissingKeyIsNulloptButPresentEmptyKeyIsEmptyText) {
  IniDocument doc = IniDocument::Parse("[a]\nempty=\n");
  EXPECT_EQ(doc.Get("a", "empty"), "");
  EXPECT_EQ(doc.Get("a", "missing"), std::nullopt);
  EXPECT_EQ(doc.Get("b", "empty"), std::nullopt);
}

TEST(IniDocument, FirstSectionAndFirstKeyOfANameAnswer) {
  IniDocument doc = IniDocument::Parse("[a]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
  EXPECT_EQ(doc.Get("a", "k"), "1");
  EXPECT_EQ(doc.Get("a", "j"), std::nullopt);
  auto sections = doc.Sections();
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(*sections[1].Find("k"), "3");
  EXPECT_EQ(*sections[1].Find("J"), "4");
}

TEST(IniDocument, AcceptsEveryLineEndAndIgnoresStrayLines) {
  IniDocument doc = IniDocument::Parse("orphan=1\r[s]\rno equals here\rk=v\n=novalue\r\nx=y");
  EXPECT_EQ(doc.Get("s", "k"), "v");
  EXPECT_EQ(doc.Get("s", "x"), "y");
  auto sections = doc.Sections();
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_EQ(sections[0].keys.size(), 2u);
}

TEST(IniDocument, LongNamesAndValuesAreNeverTruncated) {
  std::string name(20000, 'n');
  std::string value(100000, 'v');
  IniDocument doc = IniDocument::Parse("[" + name + "]\r\nurl=" + value + "\r\n");
  EXPECT_EQ(doc.Get(name, "url"), value);
}

TEST(IniDocument, SettingAKeyKeepsEveryOtherLineByteForByte) {
  const std::string original =
      "; comment\n[proxy]\nserver=old\nextra = kept \n\n[Allgemein]\r\nplaywav=ja\r\nunknown=1\r\n";
  IniDocument doc = IniDocument::Parse(original);
  doc.Set("allgemein", "PLAYWAV", "1");
  EXPECT_EQ(doc.Serialize(),
            "; comment\n[proxy]\nserver=old\nextra = kept \n\n[Allgemein]\r\nplaywav=1\r\nunknown=1\r\n");
}

TEST(IniDocument, NewKeyGoesAfterTheSectionsLastKeyAndNewSectionAtTheEnd) {
  IniDocument doc = IniDocument::Parse("[a]\r\nx=1\r\n\r\n[b]\r\ny=2");
  doc.Set("a", "z", "3");
  doc.Set("c", "w", "4");
  EXPECT_EQ(doc.Serialize(), "[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n[c]\r\nw=4\r\n");
}

TEST(IniDocument, SetOnEmptyDocumentCreatesSection) {
  IniDocument doc;
  doc.Set("allgemein", "status", "0");
  EXPECT_EQ(doc.Serialize(), "[allgemein]\r\nstatus=0\r\n");
}

TEST(IniDocument, DamagedInputNeverCrashes) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) & 0xff);
  junk += std::string("\0[x\0]=\0", 7);
  IniDocument doc = IniDocument::Parse(junk);
  doc.Sections();
  doc.Set("x", "k", "v");
  EXPECT_EQ(doc.Get("x", "k"), "v");
  EXPECT_NE(doc.Serialize().find(junk.substr(0, 100)), std::string::npos);
}

}  // namespace
}  // namespace holvex
