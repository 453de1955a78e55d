#include "core/messages.h"
#include "engine_test_support.h"

namespace {

class Messages : public CoreTest {};

const UINT MISSING_ID = 12345;

TEST_F(Messages, KindsChooseCaptionAndStyle) {
    lc_message(MSG_INFO, 17665);
    lc_message(MSG_ERROR, 17665);
    lc_message(MSG_WARNING, 17665);
    EXPECT_EQ(lc_message(7, 17665), 0) << "other kinds show nothing";
    ASSERT_EQ(boxes().size(), 3u);
    const UINT boxStyle = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL;
    EXPECT_EQ(boxes()[0].caption, "Lumacast");
    EXPECT_EQ(boxes()[1].caption, "<null>");
    EXPECT_EQ(boxes()[2].caption, "Warning");
    for (const Box &b : boxes()) {
        EXPECT_EQ(b.text, "cannot load.");
        EXPECT_EQ(b.style, boxStyle);
    }
}

TEST_F(Messages, ArgumentsAreFormattedIntoTheString) {
    lc_message(MSG_ERROR, 21253, "C:\\OUT");
    EXPECT_EQ(last_text(), "Illegal or non-existant output directory 'C:\\OUT'");
}

TEST_F(Messages, MissingStringsGiveTheInternalErrorTexts) {
    lc_message(MSG_ERROR, MISSING_ID);
    EXPECT_EQ(last_text(), "Internal error (id = 12345)");
    lc_question(MSG_WARNING, MISSING_ID);
    EXPECT_EQ(last_text(), "Internal query error (id = 12345)");
    lc_message_plain(MISSING_ID);
    EXPECT_EQ(last_text(), "Internal error (id = 12345)");
}

TEST_F(Messages, ErrorsDuringABatchRunOfferToCancelTheBatch) {
    batch_set_running(1);
    box_answer() = IDNO;
    EXPECT_EQ(lc_message(MSG_ERROR, 17665), IDNO);
    EXPECT_EQ(last_text(), "cannot load.\n\nCancel Batch?");
    EXPECT_EQ(boxes().back().style, (UINT)(MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
    EXPECT_FALSE(batch_cancel_requested());
    box_answer() = IDYES;
    lc_message_text(MSG_ERROR, "ready text");
    EXPECT_EQ(last_text(), "ready text\n\nCancel Batch?");
    EXPECT_TRUE(batch_cancel_requested());
}

TEST_F(Messages, OnlyAttendedRunsAndOnlyErrorsAskToCancel) {
    batch_set_running(1);
    box_answer() = IDYES;
    lc_message(MSG_INFO, 17665);
    lc_message(MSG_WARNING, 17665);
    EXPECT_EQ(last_text(), "cannot load.");
    batch_set_unattended(1);
    lc_message(MSG_ERROR, 17665);
    EXPECT_EQ(last_text(), "cannot load.");
    EXPECT_EQ(boxes().back().style, (UINT)(MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL));
    EXPECT_FALSE(batch_cancel_requested());
}

TEST_F(Messages, QuestionsAndPlainBoxes) {
    box_answer() = IDYES;
    EXPECT_EQ(lc_question(MSG_WARNING, 30242), IDYES);
    EXPECT_EQ(last_text(), "About to destroy color information, continue?");
    EXPECT_EQ(boxes().back().caption, "Warning");
    EXPECT_EQ(boxes().back().style, (UINT)(MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
    lc_question(MSG_INFO, 30242);
    EXPECT_EQ(boxes().back().caption, "Lumacast");
    lc_question(MSG_ERROR, 30242);
    EXPECT_EQ(boxes().back().caption, "<null>");
    batch_set_running(1);
    lc_message_plain(16651);
    EXPECT_EQ(last_text(), "Batch Processing Complete") << "plain boxes never offer to cancel";
    EXPECT_EQ(boxes().back().style, (UINT)(MB_OK | MB_TASKMODAL));
    EXPECT_EQ(boxes().back().caption, "");
}

TEST_F(Messages, CodecServicesReportErrorsAndAskWarnings) {
    codec_error(21253, "X");
    EXPECT_EQ(boxes().back().caption, "<null>");
    EXPECT_EQ(boxes().back().style, (UINT)(MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL));
    box_answer() = IDNO;
    EXPECT_EQ(codec_question(30242), IDNO);
    EXPECT_EQ(boxes().back().caption, "Warning");
    EXPECT_EQ(boxes().back().style, (UINT)(MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL));
}

}  // namespace
