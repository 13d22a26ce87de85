#include "preview/colour_table.h"

#include <gtest/gtest.h>

namespace cadenzio {
namespace {

std::string EntryOf(std::string_view value) {
  std::string entry = "untouched";
  return ProgramColourTable().Lookup(value, entry) ? entry : "false:" + entry;
}

TEST(ColourTable, NamesAndHexValues) {
  EXPECT_EQ(ProgramColourTable().size(), 137u);
  // CSS values, not X11 ones, where the two differ (gray, green).
  for (auto [value, entry] : {std::pair{"red", "255\\green0\\blue0;"}, {"aliceblue", "240\\green248\\blue255;"},
                              {"gray", "128\\green128\\blue128;"}, {"green", "0\\green128\\blue0;"},
                              {"lightgrey", "211\\green211\\blue211;"}, {"#00ff00", "0\\green255\\blue0;"},
                              {"#abcdef12", "171\\green205\\blue239;"}})
    EXPECT_EQ(EntryOf(value), std::string("\\red") + entry) << value;
  // Refused values leave the entry alone: names of the standard table left out, and bad forms.
  for (const char* value : {"darkgrey", "grey", "lightgray", "moccasin", "transparent", "Red", "red ", "#00FF00",
                            "#00ff0", "#0g0000"})
    EXPECT_EQ(EntryOf(value), "false:untouched") << value;
}

}  // namespace
}  // namespace cadenzio
