#include "core/QuotedFields.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(QuotedFields, ItemWriterWritesEachKindOnItsOwnCrLfLine) {
    ItemWriter w;
    w.text("W1XYZ").single(5.5).real(76.0).whole(100).boolean(true).boolean(false).text("");
    EXPECT_EQ(w.bytes(), "\"W1XYZ\"\r\n5.5\r\n76\r\n100\r\n#TRUE#\r\n#FALSE#\r\n\"\"\r\n");
}

TEST(QuotedFields, ItemReaderReadsWhatTheWriterWrote) {
    ItemWriter w;
    w.text("a, b").single(-4.25).whole(3).boolean(true).text("x");
    ItemReader r(w.bytes());
    EXPECT_EQ(r.text(), "a, b");
    EXPECT_EQ(r.number(), -4.25);
    EXPECT_EQ(r.whole(0, 255), 3);
    EXPECT_EQ(r.boolean(), true);
    EXPECT_EQ(r.text(), "x");
    EXPECT_EQ(r.text(), std::nullopt);
}

TEST(QuotedFields, NumbersReadIntoTextAndTextIntoNumbersFails) {
    ItemReader r("13\r\n\"abc\"\r\n300\r\n");
    EXPECT_EQ(r.text(), "13");
    EXPECT_EQ(r.number(), std::nullopt);
    EXPECT_EQ(r.whole(0, 255), std::nullopt);
}

TEST(QuotedFields, FieldReaderTracksLinesAndLineEnds) {
    FieldReader reader("\"a\",b\r\n\"c\"");
    Field f;
    ASSERT_EQ(reader.next(f), FieldError::None);
    EXPECT_EQ(f.text, "a");
    EXPECT_FALSE(f.endsLine);
    ASSERT_EQ(reader.next(f), FieldError::None);
    EXPECT_EQ(f.text, "b");
    EXPECT_TRUE(f.endsLine);
    ASSERT_EQ(reader.next(f), FieldError::None);
    EXPECT_EQ(f.line, 2);
    EXPECT_TRUE(f.endsLine);
    EXPECT_EQ(reader.next(f), FieldError::EndOfData);
}
