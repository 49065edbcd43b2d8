#include <gtest/gtest.h>
#include "testkit/MessageBoxDriver.h"

// The driver is what every other test trusts to see the boxes: pin what it records.

TEST(MessageBoxDriver, RecordsCaptionTextButtonsAndAnswers)
{
    MessageBoxDriver driver;
    driver.answerNext(IDNO);
    int pressed = MessageBoxA(nullptr, "Keep the %s text?", "Question", MB_YESNO | MB_ICONQUESTION);
    ASSERT_EQ(driver.count(), 1u) << "one box was shown";
    const ShownBox& box = driver.last();
    EXPECT_EQ(pressed, IDNO) << "the queued answer is pressed";
    EXPECT_EQ(box.caption, "Question");
    EXPECT_EQ(box.text, "Keep the %s text?");
    EXPECT_TRUE(box.hasButton(IDYES) && box.hasButton(IDNO)) << "Yes and No are offered";
    EXPECT_FALSE(box.hasButton(IDOK)) << "no OK button on a Yes/No box";
    EXPECT_TRUE(box.hasIcon) << "the question icon is shown";
}

TEST(MessageBoxDriver, SeesOwnerAndSystemModality)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    MessageBoxDriver driver;
    MessageBoxA(owner, "owned", "c", MB_OK);
    MessageBoxA(nullptr, "system modal", "c", MB_OK | MB_SYSTEMMODAL);
    MessageBoxA(nullptr, "plain", "c", MB_OK);
    ASSERT_EQ(driver.count(), 3u);
    EXPECT_EQ(driver.boxes()[0].owner, owner) << "an owned box reports its owner";
    EXPECT_FALSE(driver.boxes()[0].topmost()) << "an owned box is not system-modal";
    EXPECT_EQ(driver.boxes()[1].owner, nullptr);
    EXPECT_TRUE(driver.boxes()[1].topmost()) << "MB_SYSTEMMODAL shows a topmost box";
    EXPECT_FALSE(driver.boxes()[2].topmost()) << "a box without MB_SYSTEMMODAL is not topmost";
    DestroyWindow(owner);
}
