#include "player_fixture.h"

#include "drawing/fill.h"
#include "drawing/gradient_label.h"
#include "player/presentation_form.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "slideshow/slide_show.h"
#include "widgets/directory_edit.h"
#include "widgets/spin_edit.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>

using namespace player;
using namespace player::testing;
using namespace lanterna;

namespace {

class PresentationTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        ASSERT_TRUE(QDir(FDir.path()).mkdir(QStringLiteral("pics")));
        WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nZjistitNovouVerziPriStartu=0\nSlideDirectory=" +
                                                       PathOf(QStringLiteral("pics")).toUtf8() + "\n");
        Start();
        Forms().Form1->Timer1Timer();
    }
    void AddPicture(const QString& name, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        ASSERT_TRUE(image.save(PathOf(QStringLiteral("pics/") + name)));
    }
    QStringList Slides() const {
        QStringList locations;
        const TSlideShowItems& items = *Forms().Form2->SlideShow->Items();
        for (int i = 0; i < items.Count(); ++i)
            locations << items[i]->Location();
        locations.sort();
        return locations;
    }
    TSlideShow& Show() const { return *Forms().Form2->SlideShow; }
};

} // namespace

TEST_F(PresentationTest, DesignValuesOfTheSlideShow) {
    const TForm2& f2 = *Forms().Form2;
    EXPECT_EQ(f2.windowTitle(), QStringLiteral("Slide Show Prezentace"));
    EXPECT_EQ(f2.size(), QSize(771, 450));
    EXPECT_EQ(Show().geometry(), f2.rect());
    EXPECT_EQ(f2.ZavritBut->parentWidget(), &Show());
    EXPECT_EQ(f2.Logo->geometry(), QRect(24, 16, 193, 121));
    EXPECT_EQ(f2.Hodiny->geometry(), QRect(566, 64, 153, 50));
    EXPECT_EQ(Show().Fill()->GradientType(), gtRadial);
    EXPECT_EQ(Show().Fill()->ColorTo(), RGBColor(0x00, 0x40, 0x80));
    EXPECT_EQ(Show().Fill()->Glow(), gmRadial);
    EXPECT_EQ(Show().PlaceHolderFill()->BorderColor(), clSilver);
    EXPECT_EQ(Show().PlaceHolderFill()->GradientType(), gtSolid);
    EXPECT_EQ(Show().Margin()->Left(), 10);
    EXPECT_EQ(Show().Margin()->Bottom(), 10);
    EXPECT_FALSE(Show().ShowDescription());
    EXPECT_FALSE(Show().ThumbNails());
}

TEST_F(PresentationTest, BuildTakesEveryFileOfTheFolderAndStartsRotating) {
    AddPicture(QStringLiteral("a.png"), {400, 300});
    AddPicture(QStringLiteral("b.jpg"), {1200, 700});
    WriteFile(QStringLiteral("pics/notes.txt"), "not a picture");
    ASSERT_TRUE(QDir(PathOf(QStringLiteral("pics"))).mkdir(QStringLiteral("sub")));
    Forms().Form3->RotateInterval->SetValue(6);
    Forms().Form2->NactiSlideButClick();
    const QString pics = PathOf(QStringLiteral("pics"));
    EXPECT_EQ(Slides(), (QStringList{pics + "/a.png", pics + "/b.jpg", pics + "/notes.txt"}));
    EXPECT_EQ(Show().RotationInterval(), 6000);
    EXPECT_TRUE(Show().Rotation());
    EXPECT_EQ(Show().FadeAnimationFactor(), 10);
    EXPECT_EQ(Show().Animations(), TSlideShowAnimations{saBottomToTop});
    EXPECT_EQ(Show().Transitions(), (TSlideShowTransitions{stFade, stPlaceHolder}));
    EXPECT_TRUE(Show().LoadEffect());
    EXPECT_TRUE(Show().AspectRatio());
    EXPECT_EQ(Show().ItemMode(), imNormal);
    EXPECT_EQ(Show().DescriptionFill()->Opacity(), 50);
    EXPECT_EQ(Show().UpdateCount(), 0);

    // Every build starts afresh: no slide twice, new files taken, a trailing separator is fine.
    AddPicture(QStringLiteral("c.png"), {10, 10});
    Forms().Form3->SlideDirectory->SetText(pics + QLatin1Char('/'));
    Forms().Form3->RotateInterval->SetText(QString());
    Forms().Form1->PokracovatButClick();
    EXPECT_EQ(Slides().size(), 4);
    EXPECT_EQ(Show().RotationInterval(), 0) << "an empty seconds field reads 0";
}

TEST_F(PresentationTest, MissingFolderLeavesTheControlAlone) {
    AddPicture(QStringLiteral("a.png"), {40, 30});
    Forms().Form2->NactiSlideButClick();
    ASSERT_EQ(Slides().size(), 1);
    Show().SetRotation(false);
    for (const QString& folder : {PathOf(QStringLiteral("gone")), QString()}) {
        Forms().Form3->SlideDirectory->SetText(folder);
        Forms().Form2->NactiSlideButClick();
        EXPECT_EQ(Slides().size(), 1);
        EXPECT_FALSE(Show().Rotation()) << "not touched at all";
    }
    EXPECT_TRUE(FDialogs->Shown().empty()) << "nothing is reported";
}
