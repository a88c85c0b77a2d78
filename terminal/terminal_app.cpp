#include "terminal/terminal_app.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/afx.h"
#include "platform/kernel/module.h"
#include "terminal/demo_script.h"
#include "terminal/host.h"
#include "terminal/plugin_loader.h"
#include "terminal/script_runner.h"
#include "terminal/window_dump.h"

extern char** environ;

namespace terminal {

namespace {

std::string ExecutableFolder() {
  char path[4096] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return platform::PathFolder(path);
}

struct PluginInfo {
  CString name, version, menuTitle;
  uint32_t stamp = 0, code = 0;
  CStringArray first, hotKeys, captions;
  CArray<int, int> values;
};

PluginInfo Describe(LoadedPlugin& plugin) {
  PluginInfo info;
  plugin.GetTarnPluginInfo(info.name, info.version, nullptr, &info.stamp, &info.code);
  plugin.GetOptionalTarnPluginInfo(info.menuTitle, info.first, info.hotKeys, info.captions, info.values);
  return info;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

void PrintInfo(const PluginInfo& info) {
  std::printf("%s\n%s\n%u\n%u\n%s\n", info.name.GetString(), info.version.GetString(), info.stamp, info.code,
              info.menuTitle.GetString());
  for (int i = 0; i < info.hotKeys.GetSize(); ++i) std::printf("%s\n", info.hotKeys[i].GetString());
  for (int i = 0; i < info.captions.GetSize(); ++i) std::printf("%s\n", info.captions[i].GetString());
}

}  // namespace

int RunTerminal(const Options& options, int argc, char** argv) {
  const std::string exeFolder = ExecutableFolder();
  std::string error;
  LoadedPlugin plugin(options.pluginPath.empty() ? exeFolder + "/AllowedGroups.so" : options.pluginPath, error);
  if (!plugin.ok()) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  const PluginInfo info = Describe(plugin);
  if (options.info) {
    PrintInfo(info);
    return 0;
  }

  // The plug-in keeps its settings beside "the terminal's executable".
  const std::string home = options.home.empty() ? exeFolder : options.home;
  if (!options.home.empty()) platform::SetMainProgramFileName(home + "/tarnterm");

  int err = 0;
  mml_env_init(argc, argv, environ, 2, 0, &err);
  auto scrips = ScripMaster::Load(exeFolder + "/scrips.csv", error);
  if (!scrips) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<ServerStandIn> server;
  try {
    server = std::make_unique<ServerStandIn>(options.database.empty() ? home + "/server.db" : options.database);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnterm: %s\n", e.what());
    return 1;
  }
  std::FILE* wireLog = nullptr;
  if (!options.wireLog.empty() && (wireLog = std::fopen(options.wireLog.c_str(), "w")) == nullptr) {
    std::fprintf(stderr, "tarnterm: cannot write %s\n", options.wireLog.c_str());
    return 1;
  }
  int status = 0;
  {
    Host host(std::move(*scrips), std::move(server), stdout, wireLog);
    platform::SetMessageBoxResponder([](const platform::MessageBoxRecord& box) {
      std::printf("BOX: %s\n", box.text.c_str());
      return platform::DefaultMessageBoxAnswer(box.type);
    });

    std::printf("PLUGIN: %s %s (stamp %u, code %u), menu \"%s\"\n", info.name.GetString(), info.version.GetString(),
                info.stamp, info.code, info.menuTitle.GetString());
    sTarnHostRecord record{};
    record.pParentWnd = &host.MainWindow();
    plugin.InitTarnPlugin(&record, options.userId.c_str(), nullptr, CString());
    platform::PumpMessages();

    // The terminal routes the keys its plug-ins registered; others are its own.
    auto hotKey = [&](const std::string& key) {
      for (int i = 0; i < info.hotKeys.GetSize(); ++i) {
        if (info.hotKeys[i] == key.c_str()) {
          CString text(key.c_str());
          plugin.PluginProcessHotKey(text, 0);
        }
      }
      platform::PumpMessages();
    };
    if (!options.script.empty() || options.demo) {
      std::string text;
      if (options.demo) {
        text = DemoScript();
      } else if (!ReadFile(options.script, text)) {
        std::fprintf(stderr, "tarnterm: cannot read %s\n", options.script.c_str());
        status = 1;
      }
      ScriptRunner runner(host, hotKey, stdout, stderr);
      runner.echo = options.demo;
      if (status == 0 && !runner.Run(text, options.demo ? "demo" : options.script)) status = 1;
    } else {
      hotKey(info.hotKeys.GetSize() > 0 ? info.hotKeys[0].GetString() : "");
      std::fputs(DumpWindowTree(FindTopLevelWindow("Allowed Groups")).c_str(), stdout);
    }
    platform::SetMessageBoxResponder({});
  }
  if (wireLog != nullptr) std::fclose(wireLog);
  return status;
}

}  // namespace terminal
