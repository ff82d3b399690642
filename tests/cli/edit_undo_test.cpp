// brillora-cli edit --do undo / --do redo, through the built program.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;
using Json = nlohmann::json;

Json Edit(const std::vector<std::string>& actions) {
  std::vector<std::string> args = {"edit", "--default"};
  for (const auto& a : actions) {
    args.push_back("--do");
    args.push_back(a);
  }
  const auto r = RunCli(args);
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? Json::parse(r.out) : Json{};
}

TEST(EditUndo, UndoAndRedoWalkTheEditsOfTheCommandLine) {
  const Json start = Edit({});
  const Json edited = Edit({"maxslope 35", "side pavilion", "maxslope 42"});
  const Json undoneTwice = Edit({"maxslope 35", "side pavilion", "maxslope 42", "undo", "undo"});
  EXPECT_EQ(undoneTwice["crown"], start["crown"]);
  EXPECT_EQ(undoneTwice["pavilion"], start["pavilion"]);
  EXPECT_EQ(undoneTwice["volume"], start["volume"]);
  // The controls come back too: the crown's step tabs with the first Max Slope.
  EXPECT_EQ(undoneTwice["editor"], start["editor"]);
  const Json redone = Edit({"maxslope 35", "side pavilion", "maxslope 42", "undo", "undo", "redo", "redo"});
  EXPECT_EQ(redone, edited);
}

TEST(EditUndo, NothingToUndoOrRedoIsRefused) {
  for (const char* action : {"undo", "redo"}) {
    const auto r = RunCli({"edit", "--default", "--do", action});
    EXPECT_EQ(r.status, 2) << action;
    EXPECT_NE(r.err.find("refused"), std::string::npos) << r.err;
  }
  const auto r = RunCli({"edit", "--default", "--do", "maxslope 35", "--do", "redo"});
  EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace brillora
