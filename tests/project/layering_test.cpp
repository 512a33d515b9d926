// The include arrows between source folders follow the table in docs/LAYERS.md.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Layers = std::map<std::string, std::set<std::string>>;

const fs::path kTop = HOLVEX_SOURCE_DIR;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The rows "| `folder` | `a`, `b` |" of the table.
Layers ReadTable(const std::string& doc) {
  Layers layers;
  std::istringstream lines(doc);
  std::string line;
  const std::regex row(R"(^\| `([a-z_]+)` \|(.*)\|\s*$)");
  const std::regex name("`([a-z_]+)`");
  while (std::getline(lines, line)) {
    std::smatch m;
    if (!std::regex_match(line, m, row)) continue;
    std::set<std::string>& allowed = layers[m[1]];
    const std::string targets = m[2];
    for (std::sregex_iterator it(targets.begin(), targets.end(), name), end; it != end; ++it)
      allowed.insert((*it)[1]);
  }
  return layers;
}

struct Arrow {
  std::string file, from, to, include;
};

// The folder an include names: "queue/x.h" is queue; a bare "x.h" is the including folder's
// own file or one of res/.
std::string TargetFolder(const std::string& include, const fs::path& includer, const std::string& from) {
  if (auto slash = include.find('/'); slash != std::string::npos) return include.substr(0, slash);
  if (fs::exists(includer.parent_path() / include)) return from;
  if (fs::exists(kTop / "res" / include)) return "res";
  return "?";
}

std::vector<Arrow> ArrowsUnder(const fs::path& src) {
  std::vector<Arrow> arrows;
  const std::regex include(R"re(^\s*#\s*include\s+"([^"]+)")re");
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string from = fs::relative(entry.path(), src).begin()->string();
    std::istringstream lines(ReadAll(entry.path()));
    std::string line;
    while (std::getline(lines, line)) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      arrows.push_back(
          {fs::relative(entry.path(), kTop).string(), from, TargetFolder(m[1], entry.path(), from), m[1]});
    }
  }
  return arrows;
}

std::vector<std::string> Violations(const Layers& layers, const std::vector<Arrow>& arrows) {
  std::vector<std::string> found;
  for (const Arrow& a : arrows) {
    if (a.from == a.to) continue;
    auto row = layers.find(a.from);
    if (row == layers.end()) {
      found.push_back(a.file + ": folder " + a.from + " has no row in docs/LAYERS.md");
    } else if (!row->second.count(a.to)) {
      found.push_back(a.file + ": " + a.from + " may not include \"" + a.include + "\"");
    }
  }
  return found;
}

TEST(Layering, EveryIncludeUnderSrcFollowsTheTable) {
  const Layers layers = ReadTable(ReadAll(kTop / "docs" / "LAYERS.md"));
  ASSERT_GE(layers.size(), 10u) << "the table in docs/LAYERS.md was not found";
  const std::vector<Arrow> arrows = ArrowsUnder(kTop / "src");
  ASSERT_GT(arrows.size(), 100u);
  for (const std::string& v : Violations(layers, arrows)) ADD_FAILURE() << v;
  // No folder may reach the application layer.
  for (const auto& [folder, allowed] : layers)
    if (folder != "app") {
      EXPECT_FALSE(allowed.count("app")) << folder;
    }
}

TEST(Layering, TheSessionAndItsRunSitBetweenTheMainWindowAndTheComponents) {
  const Layers layers = ReadTable(ReadAll(kTop / "docs" / "LAYERS.md"));
  ASSERT_TRUE(layers.count("run"));
  ASSERT_TRUE(layers.count("session"));
  EXPECT_TRUE(layers.at("app").count("session"));
  EXPECT_TRUE(layers.at("session").count("run"));
  EXPECT_TRUE(layers.at("run").count("transfer"));
  // The session and the run know no window: the run shows itself through its own view
  // interface, and the main window shows the session.
  for (const char* folder : {"session", "run"})
    for (const char* above : {"app", "host", "ui"}) EXPECT_FALSE(layers.at(folder).count(above)) << folder;
  for (const auto& [folder, allowed] : layers) {
    if (folder != "app") {
      EXPECT_FALSE(allowed.count("session")) << folder;
    }
    if (folder != "app" && folder != "session") {
      EXPECT_FALSE(allowed.count("run")) << folder;
    }
  }
}

// The data members a class's public section declares: statements without a parameter list,
// comments left out. Event hooks (std::function) are the one kind a form offers on purpose.
std::vector<std::string> PublicDataMembers(const std::string& header, const std::string& className) {
  const size_t start = header.find("class " + className + " ");
  if (start == std::string::npos) return {"class " + className + " not found"};
  const size_t open = header.find(" public:", start);
  const size_t end = std::min(header.find(" protected:", open), header.find(" private:", open));
  std::string section = header.substr(open, end - open);
  section = std::regex_replace(section, std::regex("//[^\n]*"), "");
  std::vector<std::string> members;
  std::istringstream statements(section.substr(section.find(':') + 1));
  std::string statement;
  while (std::getline(statements, statement, ';')) {
    statement = std::regex_replace(statement, std::regex("^\\s+|\\s+$"), "");
    if (statement.empty() || statement.find('(') != std::string::npos ||
        statement.find('}') != std::string::npos || statement.rfind("std::function", 0) == 0)
      continue;
    members.push_back(statement);
  }
  return members;
}

TEST(Layering, TheMainWindowTheDialogsAndTheHostKeepTheirControlsAndStateToThemselves) {
  const std::pair<const char*, const char*> classes[] = {
      {"app/main_form.h", "TForm1"},          {"host/main_window_host.h", "MainWindowHost"},
      {"update/update_dialog.h", "TForm2"},   {"queue/add_dialog.h", "TForm3"},
      {"queue/save_dialog.h", "TForm4"},      {"queue/import_dialog.h", "TForm5"},
      {"update/about_box.h", "TForm6"},       {"settings/proxy_dialog.h", "TForm7"},
      {"settings/general_dialog.h", "TForm8"}};
  for (const auto& [file, name] : classes)
    EXPECT_EQ(PublicDataMembers(ReadAll(kTop / "src" / file), name), std::vector<std::string>{}) << name;
  // The check itself: a control or a flag in the public section is seen.
  EXPECT_EQ(PublicDataMembers(
                "class TForm1 : public Form {\n public:\n  void Click();\n  SpeedButton SpeedButton1;\n"
                "  bool DownloadRunning = false;  // state\n  std::function<void()> hook;\n"
                " private:\n  int x_;\n};",
                "TForm1"),
            (std::vector<std::string>{"SpeedButton SpeedButton1", "bool DownloadRunning = false"}));
}

TEST(Layering, AnArrowUpwardsOrFromAnUnlistedFolderIsCaught) {
  const Layers layers = ReadTable("| `app` | `queue` |\n| `queue` | `platform` |\n| `platform` | |\n");
  const std::vector<Arrow> arrows = {{"src/queue/a.cpp", "queue", "app", "app/main_form.h"},
                                     {"src/app/b.cpp", "app", "queue", "queue/x.h"},
                                     {"src/extra/c.cpp", "extra", "platform", "platform/y.h"},
                                     {"src/platform/d.cpp", "platform", "?", "nowhere.h"}};
  EXPECT_EQ(Violations(layers, arrows).size(), 3u);
}

}  // namespace
