#include "drill/typed_key.h"
#include "support/table_file.h"

#include <QMetaEnum>

#include <gtest/gtest.h>

namespace kestrum {
namespace {

// Rows of data/typed_keys.tsv, keys and modifiers by their names in Qt.
TEST(TypedKey, OnlyKeysThatTypeACharacterAreJudged) {
    const QMetaEnum keys = QMetaEnum::fromType<Qt::Key>();
    const QMetaEnum modifiers = QMetaEnum::fromType<Qt::KeyboardModifier>();
    for (const auto& row : testing::tableRows("typed_keys.tsv")) {
        const int key = keys.keyToValue(row[0].c_str());
        ASSERT_NE(key, -1) << row[0];
        const Qt::KeyboardModifiers held(modifiers.keysToValue(row.at(1).c_str()));
        EXPECT_EQ(typedBytes(key, held, row.at(2)), row.at(3) == "-" ? "" : row[3])
            << row[0] << " " << row[1];
    }
}

}  // namespace
}  // namespace kestrum
