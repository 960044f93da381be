#include "menu/menu_caption.h"
#include "support/table_file.h"

#include <gtest/gtest.h>

namespace kestrum {

TEST(ProblemSetCaption, CutsAfterElevenBytesAtACharacterBoundary) {
    for (const auto& row : testing::tableRows("menu_caption.tsv"))
        EXPECT_EQ(problemSetCaption(utf8ToCp932(row[0])), utf8ToCp932(row.at(1))) << row[0];
}

}  // namespace kestrum
