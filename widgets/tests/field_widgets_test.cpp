#include "widgets/directory_edit.h"
#include "widgets/spin_edit.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace lanterna;

TEST(TSpinEdit, ValuesAreForcedIntoTheRangeAndReadBackByTheFieldRules) {
    TSpinEdit spin;
    spin.SetRange(1, 999);
    spin.SetValue(0);
    EXPECT_EQ(spin.Value(), 1);
    spin.SetValue(5000);
    EXPECT_EQ(spin.Text(), QStringLiteral("999"));
    spin.SetValue(16);
    EXPECT_EQ(spin.Value(), 16);

    spin.SetText(QString());
    EXPECT_EQ(spin.Value(), 0) << "an empty field reads 0";
    spin.SetText(QStringLiteral("abc"));
    EXPECT_EQ(spin.Value(), 1) << "text that is no number reads the minimum";
    spin.SetText(QStringLiteral("4000"));
    EXPECT_EQ(spin.Value(), 999);
}

TEST(TSpinEdit, ButtonsAndKeysStepWithinTheRange) {
    TSpinEdit spin;
    spin.SetRange(1, 999);
    spin.resize(121, 22);
    spin.SetValue(998);
    QTest::keyClick(&spin, Qt::Key_Up);
    QTest::keyClick(&spin, Qt::Key_Up);
    EXPECT_EQ(spin.Value(), 999);
    spin.SetValue(2);
    auto buttons = spin.findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    for (int i = 0; i < 3; ++i)
        buttons[1]->click();
    EXPECT_EQ(spin.Value(), 1);
}

TEST(TDirectoryEdit, BrowseAsksWithItsTitleAndTakesOnlyAChoice) {
    TDirectoryEdit edit;
    edit.resize(257, 21);
    edit.show();
    edit.SetText(QStringLiteral("/start"));
    QString askedTitle, askedStart;
    QString answer = QStringLiteral("/chosen");
    edit.ChooseFolder = [&](QWidget*, const QString& title, const QString& start) {
        askedTitle = title;
        askedStart = start;
        return answer;
    };
    edit.BrowseButton()->click();
    EXPECT_EQ(askedTitle, QStringLiteral("Select Directory"));
    EXPECT_EQ(askedStart, QStringLiteral("/start"));
    EXPECT_EQ(edit.Text(), QStringLiteral("/chosen"));
    answer.clear(); // cancelled
    edit.Browse();
    EXPECT_EQ(edit.Text(), QStringLiteral("/chosen"));
    EXPECT_EQ(edit.BrowseButton()->width(), TDirectoryEdit::kButtonWidth);
    EXPECT_EQ(edit.Editor()->width(), 257 - TDirectoryEdit::kButtonWidth);
}
