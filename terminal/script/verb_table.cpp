#include "terminal/script/script_verbs.h"

#include <array>

#include "terminal/script/script_targets.h"

namespace terminal {

namespace {

using T = Verb::Target;
constexpr bool kExactly = false;
constexpr bool kAtLeast = true;

// name, usage, words (the verb included), exactly or at least, what it names, the kind of control, handler
constexpr std::array kVerbs{
    Verb{"hotkey", "hotkey KEY", 2, kExactly, T::kNothing, nullptr, verbs::HotKey},
    Verb{"select", "select WINDOW CONTROL ITEM", 4, kExactly, T::kControl, IsList, verbs::Select},
    Verb{"check", "check WINDOW CONTROL on|off", 4, kExactly, T::kControl, IsCheckable, verbs::Check},
    Verb{"click", "click WINDOW CONTROL", 3, kExactly, T::kControl, Interactive, verbs::Click},
    Verb{"right-click", "right-click WINDOW CONTROL [\"Caption\"]", 3, kAtLeast, T::kControl, Interactive,
         verbs::RightClick},
    Verb{"type", "type WINDOW CONTROL \"text\"", 4, kExactly, T::kControl, TakesText, verbs::Type},
    Verb{"key", "key WINDOW CONTROL CHORD", 4, kExactly, T::kControl, Interactive, verbs::Key},
    Verb{"command", "command WINDOW CONTROL ID", 4, kExactly, T::kControl, Interactive, verbs::Command},

    Verb{"dump", "dump WINDOW", 2, kExactly, T::kWindow, nullptr, verbs::Dump},
    Verb{"snapshot", "snapshot WINDOW FILE", 3, kExactly, T::kWindow, nullptr, verbs::Snapshot},
    Verb{"snapshot-menu", "snapshot-menu FILE", 2, kExactly, T::kNothing, nullptr, verbs::SnapshotMenu},
    Verb{"snapshot-box", "snapshot-box FILE", 2, kExactly, T::kNothing, nullptr, verbs::SnapshotBox},
    Verb{"resize", "resize WINDOW WIDTH HEIGHT", 4, kExactly, T::kWindow, nullptr, verbs::Resize},
    Verb{"wait", "wait MS", 2, kExactly, T::kNothing, nullptr, verbs::Wait},
    Verb{"expect-log", "expect-log \"text\"", 2, kExactly, T::kNothing, nullptr, verbs::ExpectLog},
    Verb{"expect-box", "expect-box \"text\"", 2, kExactly, T::kNothing, nullptr, verbs::ExpectBox},

    Verb{"rows", "rows WINDOW CONTROL", 3, kExactly, T::kControl, IsList, verbs::Rows},
    Verb{"select-more", "select-more WINDOW LIST ROW", 4, kExactly, T::kControl, IsListView, verbs::SelectMore},
    Verb{"sort", "sort WINDOW LIST \"Caption\"", 4, kExactly, T::kControl, IsListView, verbs::Sort},
    Verb{"filter", "filter WINDOW LIST \"Caption\" \"text\"", 5, kExactly, T::kControl, IsListView, verbs::Filter},
    Verb{"filter-button", "filter-button WINDOW LIST \"Caption\"", 4, kExactly, T::kControl, IsListView,
         verbs::FilterButton},
    Verb{"expect-column", "expect-column WINDOW LIST \"Caption\" CELL...", 4, kAtLeast, T::kControl, IsListView,
         verbs::ExpectColumn},
    Verb{"drag", "drag WINDOW LIST ITEM... [WINDOW2 LIST2] TO-ITEM", 5, kAtLeast, T::kControl, IsListView, verbs::Drag},
    Verb{"expect-sheet", "expect-sheet WINDOW LIST [FILE]", 3, kAtLeast, T::kControl, IsListView, verbs::ExpectSheet},

    Verb{"menu", "menu \"entry text\"", 2, kExactly, T::kNothing, nullptr, verbs::Menu},
    Verb{"answer-color", "answer-color RRGGBB", 2, kExactly, T::kNothing, nullptr, verbs::AnswerColor},
    Verb{"answer-font", "answer-font \"Face\" SIZE", 3, kExactly, T::kNothing, nullptr, verbs::AnswerFont},
    Verb{"snapshot-chooser", "snapshot-chooser FILE", 2, kExactly, T::kNothing, nullptr, verbs::SnapshotChooser},

    Verb{"server-rows", "server-rows", 1, kExactly, T::kNothing, nullptr, verbs::ServerRows},
    Verb{"expect-server-rows", "expect-server-rows WINDOW LIST", 3, kExactly, T::kControl, IsListView,
         verbs::ExpectServerRows},
};

}  // namespace

std::span<const Verb> ScriptVerbs() { return kVerbs; }

const Verb* FindVerb(std::string_view name) {
  for (const Verb& verb : kVerbs) {
    if (verb.name == name) return &verb;
  }
  return nullptr;
}

}  // namespace terminal
