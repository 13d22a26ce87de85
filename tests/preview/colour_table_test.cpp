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
  EXPECT_EQ(EntryOf("red"), "\\red255\\green0\\blue0;");
  EXPECT_EQ(EntryOf("aliceblue"), "\\red240\\green248\\blue255;");
  // CSS values, not X11 ones, where the two differ.
  EXPECT_EQ(EntryOf("gray"), "\\red128\\green128\\blue128;");
  EXPECT_EQ(EntryOf("green"), "\\red0\\green128\\blue0;");
  EXPECT_EQ(EntryOf("lightgrey"), "\\red211\\green211\\blue211;");
  EXPECT_EQ(EntryOf("yellowgreen"), "\\red154\\green205\\blue50;");
  EXPECT_EQ(EntryOf("#00ff00"), "\\red0\\green255\\blue0;");
  EXPECT_EQ(EntryOf("#abcdef12"), "\\red171\\green205\\blue239;");
  // Refused values leave the entry alone; the ten names of the standard
  // table that are left out come first.
  for (const char* value : {"darkgrey", "darkslategrey", "dimgrey", "grey", "lightgray",
                            "lightslategrey", "slategrey", "lawngreen", "moccasin", "palegreen",
                            "transparent", "Red", "red ", "#00FF00", "#00ff0", "#", "", "#0g0000"}) {
    EXPECT_EQ(EntryOf(value), "false:untouched") << value;
  }
}

}  // namespace
}  // namespace cadenzio
