#include "terminal/app/terminal_app.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/afx.h"
#include "platform/kernel/module.h"
#include "terminal/app/demo_script.h"
#include "terminal/app/install_layout.h"
#include "terminal/app/snapshot_writer.h"
#include "terminal/app/store_file.h"
#include "terminal/app/wire_log_file.h"
#include "terminal/host/host.h"
#include "terminal/app/plugin_loader.h"
#include "terminal/app/script_file.h"
#include "terminal/app/terminal_folder.h"
#include "terminal/app/version.h"
#include "terminal/script/script_runner.h"
#include "terminal/readout/control_names.h"
#include "terminal/readout/window_dump.h"
#include "terminal/desktop/desktop.h"
#include "terminal/desktop/menu_bar.h"

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

void PrintInfo(const PluginInfo& info) {
  std::printf("name: %s\nversion: %s\nstamp: %u\ncode: %u\nmenu title: %s\n", info.name.GetString(),
              info.version.GetString(), info.stamp, info.code, info.menuTitle.GetString());
  for (int i = 0; i < info.hotKeys.GetSize(); ++i) std::printf("hot key: %s\n", info.hotKeys[i].GetString());
  for (int i = 0; i < info.captions.GetSize(); ++i) std::printf("caption: %s\n", info.captions[i].GetString());
}

// The terminal's version, then the plug-in's when it loads. A plug-in that
// does not load is named on standard error, and the status stays 0: the
// version asked for was printed.
int PrintVersion(const std::string& pluginPath) {
  std::printf("tarnterm %s\n", TerminalVersion());
  std::string error;
  LoadedPlugin plugin(pluginPath, error);
  if (!plugin.ok()) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 0;
  }
  const PluginInfo info = Describe(plugin);
  std::printf("plug-in: %s %s (%s)\n", info.name.GetString(), info.version.GetString(), pluginPath.c_str());
  return 0;
}

// What a person at the terminal needs to know when the plug-in would stay
// silent: it sends no request without a user ID.
constexpr const char* kNoUserNote =
    "No user ID: the Allowed Groups plug-in sends no request without one; start the terminal with --user ID";

}  // namespace

int RunTerminal(const Options& options, int argc, char** argv) {
  const std::string exeFolder = ExecutableFolder();
  const InstallLayout layout = LayoutAround(exeFolder);
  ControlNames::ShipFrom(layout.dataFolder);
  const std::string pluginPath =
      options.pluginPath.empty() ? layout.pluginFolder + "/AllowedGroups.so" : options.pluginPath;
  if (options.version) return PrintVersion(pluginPath);
  std::string error;
  std::string scriptText;
  if (!options.script.empty() && !ReadScript(options.script, scriptText, error)) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  LoadedPlugin plugin(pluginPath, error);
  if (!plugin.ok()) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  const PluginInfo info = Describe(plugin);
  if (options.info) {
    PrintInfo(info);
    return 0;
  }
  if (options.window && !desktop::Available()) {
    std::fprintf(stderr, "tarnterm: this build has no desktop mode (it was built without Xlib)\n");
    return 1;
  }

  // The plug-in keeps its settings beside "the terminal's executable": the
  // terminal folder stands in for it unless a build tree's run keeps them
  // there (install_layout.h).
  std::string home = exeFolder;
  if (!options.home.empty() || layout.installed) {
    // A new terminal folder is made, so that settings and the store have a place.
    const auto prepared = options.home.empty() ? PrepareUserDataFolder(UserFoldersOfThisProcess(), error)
                                               : PrepareTerminalFolder(options.home, error);
    if (!prepared) {
      std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
      return 1;
    }
    home = *prepared;
    platform::SetMainProgramFileName(home + "/tarnterm");
  }

  // The wire log before the store is made: a log that names it, or another
  // file the run keeps, is refused while nothing has been touched.
  const std::string database = options.database.empty() ? home + "/server.db" : options.database;
  FilePtr wireLog;
  if (!options.wireLog.empty()) {
    std::vector<KeptFile> kept = {{home + "/UserSetting.ini", "the settings file"},
                                  {pluginPath, "the plug-in"},
                                  {layout.dataFolder + "/scrips.csv", "the scrip master"},
                                  {"/proc/self/exe", "the terminal program"}};
    if (const auto store = StoreFile(database)) {
      kept.push_back({*store, "the server store"});
      for (const char* companion : {"-journal", "-wal", "-shm"})
        kept.push_back({*store + companion, "the server store's journal"});
    }
    if (!options.script.empty()) kept.push_back({options.script, "the script"});
    wireLog = OpenWireLog(options.wireLog, kept, error);
    if (!wireLog) {
      std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
      return 1;
    }
  }

  int err = 0;
  mml_env_init(argc, argv, environ, 2, 0, &err);
  auto scrips = ScripMaster::Load(layout.dataFolder + "/scrips.csv", error);
  if (!scrips) {
    std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
    return 1;
  }
  std::unique_ptr<ServerStandIn> server;
  try {
    server = std::make_unique<ServerStandIn>(database);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tarnterm: %s\n", e.what());
    return 1;
  }
  if (server->ReadOnly()) {
    std::fprintf(stderr, "tarnterm: the server store %s is read-only: every add and delete will fail\n",
                 database.c_str());
  }
  int status = 0;
  {
    Host host(std::move(*scrips), std::move(server), stdout, wireLog.get());
    // A reproducible run without a person (SOURCE_DATE_EPOCH, as for
    // reproducible builds) times every log line at that second, so the
    // pictures it takes never change.
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0' && !options.window) {
      const auto fixed = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
      host.SetLogClock([fixed] { return fixed; });
    }
    host.ReportRefusedScrips(stderr);
    // A store kept from before groups were a set may have held one twice.
    if (const int merged = host.Server().MergedAtOpen(); merged > 0) {
      host.ServerSays("SERVER: merged " + std::to_string(merged) +
                      " stored group(s) that repeated an older one; the oldest of each is kept");
    }
    std::optional<SnapshotWriter> snapshots;
    if (!options.snapshots.empty()) {
      snapshots.emplace(options.snapshots, stdout);
      if (!snapshots->Prepare(error)) {
        std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
        status = 1;
      }
    }
    const bool window = options.window;
    platform::SetMessageBoxResponder([&snapshots, window](const platform::MessageBoxRecord& box) {
      std::printf("BOX: %s\n", box.text.c_str());
      std::string why;
      if (snapshots && !snapshots->WriteMessageBox(box, why)) std::fprintf(stderr, "tarnterm: %s\n", why.c_str());
      // On the desktop a person answers; headless, the default button does.
      return window ? desktop::ShowMessageBox(box) : platform::DefaultMessageBoxAnswer(box.type);
    });

    std::printf("PLUGIN: %s %s (stamp %u, code %u), menu \"%s\"\n", info.name.GetString(), info.version.GetString(),
                info.stamp, info.code, info.menuTitle.GetString());
    sTarnHostRecord record{};
    record.pParentWnd = &host.MainWindow();
    if (options.userId.empty()) host.Log(kNoUserNote);
    plugin.InitTarnPlugin(&record, options.userId.c_str(), nullptr, CString());
    platform::PumpMessages();

    // The terminal has no hot keys of its own: it routes those its plug-in
    // registered and refuses the rest.
    auto hotKey = [&](const std::string& key, std::string& why) {
      for (int i = 0; i < info.hotKeys.GetSize(); ++i) {
        if (info.hotKeys[i] == key.c_str()) {
          if (options.userId.empty()) host.Log(kNoUserNote);
          CString text(key.c_str());
          plugin.PluginProcessHotKey(text, 0);
          platform::PumpMessages();
          return true;
        }
      }
      why = "no plug-in registered the hot key " + key + " (registered:";
      for (int i = 0; i < info.hotKeys.GetSize(); ++i) why += std::string(" ") + info.hotKeys[i].GetString();
      why += ")";
      return false;
    };
    if (status != 0) {
      // The snapshot folder could not be made: nothing runs.
    } else if (options.window) {
      desktop::DesktopSetup setup;
      setup.menuTitle = info.menuTitle.GetString();
      for (int i = 0; i < info.hotKeys.GetSize(); ++i) setup.hotKeys.emplace_back(info.hotKeys[i].GetString());
      setup.runHotKey = hotKey;
      setup.windowMap = options.windowMap;
      setup.log = host.LogWindow();
      status = desktop::RunDesktop(host.MainWindow(), setup);
    } else if (!options.script.empty() || options.demo) {
      // The main window as the desktop shows it, for a script's picture of it.
      std::vector<desktop::MenuBar::Entry> entries;
      for (int i = 0; i < info.hotKeys.GetSize(); ++i) {
        entries.push_back({info.menuTitle.GetString(), info.hotKeys[i].GetString()});
      }
      desktop::MenuBar menuBar(entries, [&hotKey](const std::string& key) {
        std::string why;
        hotKey(key, why);
      });
      menuBar.Create(host.MainWindow());
      host.MainWindow().ShowWindow(SW_SHOWNOACTIVATE);
      ScriptRunner runner(host, hotKey, stdout, stderr);
      runner.echo = options.demo;
      if (snapshots) runner.afterLine = [&](std::string& why) { return snapshots->Capture(why); };
      if (!runner.Run(options.demo ? DemoScript() : scriptText, options.demo ? "demo" : options.script)) status = 1;
    } else if (info.hotKeys.GetSize() > 0) {
      std::string why;
      hotKey(info.hotKeys[0].GetString(), why);
      std::fputs(DumpWindowTree(FindTopLevelWindow("Allowed Groups")).c_str(), stdout);
      if (snapshots && !snapshots->Capture(error)) {
        std::fprintf(stderr, "tarnterm: %s\n", error.c_str());
        status = 1;
      }
    }
    platform::SetMessageBoxResponder({});
    // A change the server could not store is a failed run, whatever the
    // plug-in logged about sending it.
    if (const int failures = host.Server().StoreFailures(); failures > 0) {
      std::fprintf(stderr, "tarnterm: the server store failed %d request(s); see the SERVER: lines\n", failures);
      status = 1;
    }
    // So is a wire log that lost lines.
    host.FlushWire();
    if (host.WireLogFailed()) status = 1;
  }
  return status;
}

}  // namespace terminal
