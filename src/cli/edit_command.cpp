#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/design_json.h"
#include "model/step_editor.h"

namespace brillora::cli {

namespace {

// A save that could not be written: the design and the JSON are not lost, the
// message on standard error says why, and scripts can tell it from a refusal.
constexpr int kExitSaveFailed = 4;

// One user action as given to --do: a verb and at most one word after it.
struct EditAction {
  std::string text;  // as given, for messages
  std::string verb;
  std::string word;
};

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

const std::vector<std::string_view>& VerbsWithoutWord() {
  static const std::vector<std::string_view> verbs = {"new", "new-step", "clear-next", "undo", "redo"};
  return verbs;
}

const std::vector<std::string_view>& VerbsWithWord() {
  static const std::vector<std::string_view> verbs = {
      "symmetry", "side", "tab", "split", "shift", "slope", "slope-bar", "maxslope",
      "maxslope-bar", "position", "auto", "datatab"};
  return verbs;
}

EditAction ParseAction(const std::string& text) {
  const std::vector<std::string> words = Words(text);
  const auto known = [](const auto& verbs, const std::string& verb) {
    return std::find(verbs.begin(), verbs.end(), verb) != verbs.end();
  };
  if (words.size() == 1 && known(VerbsWithoutWord(), words[0])) return {text, words[0], ""};
  if (words.size() == 2 && known(VerbsWithWord(), words[0])) return {text, words[0], words[1]};
  throw UsageError{"not an action: \"" + text + "\""};
}

[[noreturn]] void Refuse(const EditAction& action, const std::string& why) {
  throw CommandFailure{kExitUsage, "brillora-cli edit: action \"" + action.text + "\" refused: " + why};
}

[[noreturn]] void BadWord(const EditAction& action, const std::string& wanted) {
  throw UsageError{"action \"" + action.text + "\" needs " + wanted};
}

int IntegerWord(const EditAction& action) {
  const auto value = ParseInteger(action.word);
  if (!value) BadWord(action, "a whole number");
  return *value;
}

double NumberWord(const EditAction& action) {
  const auto value = ParseNumber(action.word);
  if (!value) BadWord(action, "a number");
  return *value;
}

std::string Offer(const ListControl& list) {
  if (list.items.empty()) return "nothing";
  return list.items.front() + " .. " + list.items.back();
}

std::string Joined(const ListControl& list) {
  std::string all;
  for (const auto& item : list.items) all += (all.empty() ? "" : ", ") + item;
  return all;
}

// The index of the item that shows `number`, if the list has one.
std::optional<int> ItemShowing(const ListControl& list, int number) {
  const auto at = std::find(list.items.begin(), list.items.end(), std::to_string(number));
  if (at == list.items.end()) return std::nullopt;
  return static_cast<int>(at - list.items.begin());
}

std::string Range(double min, double max) {
  std::ostringstream text;
  text << min << " .. " << max;
  return text.str();
}

void Apply(StepEditor& editor, const EditAction& action) {
  const EditorControls& c = editor.Controls();
  const std::string& verb = action.verb;
  const auto refusedUnless = [&](bool done, const std::string& why) {
    if (!done) Refuse(action, why);
  };
  const auto hidden = [](std::string_view name) { return std::string(name) + " is hidden on this step"; };

  if (verb == "symmetry") {
    const auto index = std::find(c.SymBox.items.begin(), c.SymBox.items.end(), action.word);
    refusedUnless(index != c.SymBox.items.end() &&
                      editor.ChooseSymmetry(static_cast<int>(index - c.SymBox.items.begin())),
                  "SymBox offers " + Joined(c.SymBox));
  } else if (verb == "side") {
    if (action.word != "crown" && action.word != "pavilion") BadWord(action, "crown or pavilion");
    refusedUnless(editor.ChooseSideTab(action.word == "crown" ? 0 : 1), "no such side");
  } else if (verb == "tab") {
    const int tab = IntegerWord(action);
    refusedUnless(editor.ChooseStepTab(tab), c.TabControl2.Contains(tab)
                                                 ? std::string(kStepLimitMessage)
                                                 : "TabControl2 has the tabs 0 .. " + std::to_string(c.TabControl2.Last()));
  } else if (verb == "new") {
    refusedUnless(editor.ChooseStepTab(c.TabControl2.Last()),
                  editor.CanAddStep() ? "TabControl2 has no \"New\" tab" : kStepLimitMessage);
  } else if (verb == "new-step") {
    refusedUnless(editor.ClickNewStep(), kStepLimitMessage);
  } else if (verb == "clear-next") {
    refusedUnless(editor.ClickClearNext(), kStepLimitMessage);
  } else if (verb == "undo") {
    refusedUnless(editor.Undo(), "no edit to undo");
  } else if (verb == "redo") {
    refusedUnless(editor.Redo(), "no undone edit to redo");
  } else if (verb == "split") {
    const auto index = ItemShowing(c.SplitBox, IntegerWord(action));
    refusedUnless(index && editor.ChooseSplit(*index), "SplitBox offers " + Offer(c.SplitBox));
  } else if (verb == "shift") {
    const auto index = ItemShowing(c.ShiftBox, IntegerWord(action));
    refusedUnless(c.ShiftBoxVisible, hidden("ShiftBox"));
    refusedUnless(index && editor.ChooseShift(*index), "ShiftBox offers " + Offer(c.ShiftBox));
  } else if (verb == "slope") {
    refusedUnless(c.RxSpinEdit1Visible, hidden("RxSpinEdit1"));
    refusedUnless(editor.TypeSlope(NumberWord(action)),
                  "RxSpinEdit1 takes " + Range(c.RxSpinEdit1.min, c.RxSpinEdit1.max));
  } else if (verb == "slope-bar") {
    refusedUnless(c.TrackAngle1Visible, hidden("TrackAngle1"));
    refusedUnless(editor.DragSlopeBar(IntegerWord(action)),
                  "TrackAngle1 runs " + Range(c.TrackAngle1.min, c.TrackAngle1.max));
  } else if (verb == "maxslope") {
    refusedUnless(editor.TypeMaxSlope(NumberWord(action)),
                  "RxSpinEdit2 takes " + Range(c.RxSpinEdit2.min, c.RxSpinEdit2.max));
  } else if (verb == "maxslope-bar") {
    refusedUnless(editor.DragMaxSlopeBar(IntegerWord(action)),
                  "TrackAngle2 runs " + Range(c.TrackAngle2.min, c.TrackAngle2.max));
  } else if (verb == "position") {
    refusedUnless(editor.DragPositionBar(IntegerWord(action)),
                  "PositBar runs " + Range(c.PositBar.min, c.PositBar.max));
  } else if (verb == "auto") {
    if (action.word != "on" && action.word != "off") BadWord(action, "on or off");
    refusedUnless(editor.SetAuto(action.word == "on"), hidden("CheckBox"));
  } else if (verb == "datatab") {
    refusedUnless(editor.ChooseDataTab(IntegerWord(action)),
                  "TabControl3 has the tabs 0 .. " + std::to_string(c.TabControl3.Last()));
  }
}

Json ListJson(const ListControl& list) { return {{"items", list.items}, {"index", list.index}}; }

Json EditorJson(const EditorControls& c) {
  Json visible = Json::array();
  for (auto name : c.VisibleControls()) visible.push_back(std::string(name));
  return {
      {"SymBox", ListJson(c.SymBox)},
      {"Label5", c.Label5},
      {"TabControl1", ListJson(c.TabControl1)},
      {"TrackAngle2", c.TrackAngle2.position},
      {"RxSpinEdit2", c.RxSpinEdit2.value},
      {"TabControl2", ListJson(c.TabControl2)},
      {"SplitBox", ListJson(c.SplitBox)},
      {"ShiftBox", ListJson(c.ShiftBox)},
      {"TrackAngle1", c.TrackAngle1.position},
      {"RxSpinEdit1", c.RxSpinEdit1.value},
      {"CheckBox", c.CheckBox},
      {"PositBar", c.PositBar.position},
      {"Label6", c.Label6},
      {"TabControl3", ListJson(c.TabControl3)},
      {"FacetAngle2Label", c.FacetAngle2Label},
      {"DistLabel", c.DistLabel},
      {"visible", visible},
  };
}

bool IsDesignName(const std::string& name) {
  std::string extension = std::filesystem::path(name).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return extension == ".brl" || extension == ".txt";
}

}  // namespace

int RunEdit(Arguments& args, std::ostream& out) {
  std::optional<std::string> file;
  std::optional<std::string> output;
  std::vector<EditAction> actions;
  while (!args.Done()) {
    const std::string word = args.Take();
    if (word == "--default") {
      file.reset();
    } else if (word == "--do") {
      const auto text = args.TakeValue();
      if (!text) throw UsageError{"--do needs an action"};
      actions.push_back(ParseAction(*text));
    } else if (word == "-o") {
      output = args.TakeName();
      if (!output || !IsDesignName(*output)) {
        throw UsageError{"-o needs a file name ending in .brl or .txt"};
      }
    } else if (!word.empty() && word.front() != '-' && !file) {
      file = word;
    } else {
      throw UsageError{"unexpected argument: " + word};
    }
  }

  const DesignReadResult read = LoadDesign(file);
  EditorObserver quiet;
  const auto editor = StartEditor(file, read, quiet);
  for (const EditAction& action : actions) Apply(*editor, action);

  const Design design = editor->CurrentDesign();
  if (output) {
    const DesignSaveResult saved = SaveDesignFile(*output, design, read.refractiveIndex);
    if (!saved.written) {
      throw CommandFailure{kExitSaveFailed, "brillora-cli edit: " + (saved.error.empty()
                                                                          ? "could not write " + *output
                                                                          : saved.error)};
    }
  }
  Json info = DesignJson(design, *editor->State().stone);
  info["editor"] = EditorJson(editor->Controls());
  PrintJson(out, info);
  return kExitOk;
}

}  // namespace brillora::cli
