#include <QLineEdit>
#include <QLocale>
#include <QSlider>
#include <QTest>

#include "app/main_window/delay_edit.h"
#include "main_window_fixture.h"

namespace {

struct EditCase {
    double typed;
    const char* shown;  // in the C locale
    int sliderMax;
    int sliderValue;
};

class DelayEditRules : public MainWindowTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(DelayEditRules, LeavingTheEditAppliesTheRules) {
    createWindow();
    auto* edit = child<DelayEdit>("Currencys");
    auto* slider = child<QSlider>("tracksegons");
    edit->setValue(GetParam().typed);
    window().CurrencysExit();
    EXPECT_EQ(edit->text(), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(slider->maximum(), GetParam().sliderMax);
    EXPECT_EQ(slider->value(), GetParam().sliderValue);
    EXPECT_FALSE(window().sliderFocused());
}

INSTANTIATE_TEST_SUITE_P(
    Values, DelayEditRules,
    ::testing::Values(EditCase{0, "0.05 s.", 80, 2}, EditCase{700, "600.00 s.", 6000, 6000},
                      EditCase{12.5, "12.50 s.", 125, 125}, EditCase{8, "8.00 s.", 80, 80},
                      EditCase{8.01, "8.01 s.", 80, 80}, EditCase{2.35, "2.35 s.", 80, 24}));

class LocaleScope {
  public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

TEST_F(MainWindowTest, DelayEditUsesTheSystemDecimalSeparator) {
    const LocaleScope spanish(QLocale(QLocale::Spanish, QLocale::Spain));
    createWindow();
    auto* edit = child<DelayEdit>("Currencys");
    edit->setValue(0);
    window().CurrencysExit();
    EXPECT_EQ(edit->text(), QStringLiteral("0,05 s."));
    EXPECT_EQ(child<QSlider>("tracksegons")->value(), 2);
}

TEST_F(MainWindowTest, TypedValueIsReadWhenTheEditLosesTheFocus) {
    createWindow();
    window().show();
    window().activateWindow();
    if (!QTest::qWaitForWindowActive(&window(), 5000)) {
        GTEST_SKIP() << "the platform activates no window";
    }
    auto* edit = child<DelayEdit>("Currencys");
    edit->setFocus();
    if (!edit->hasFocus()) {
        GTEST_SKIP() << "the platform gives no keyboard focus";
    }
    edit->setText(QStringLiteral("12.5"));
    EXPECT_DOUBLE_EQ(edit->value(), 12.5);  // read as it stands while typing
    window().CurrencysKeyPress();           // Enter: the focus moves to the slider
    EXPECT_EQ(edit->text(), QStringLiteral("12.50 s."));
    EXPECT_EQ(child<QSlider>("tracksegons")->maximum(), 125);
    EXPECT_TRUE(window().sliderFocused());
}

TEST_F(MainWindowTest, DraggingTheFocusedSliderWritesTheEdit) {
    createWindow();
    auto* edit = child<DelayEdit>("Currencys");
    auto* slider = child<QSlider>("tracksegons");
    slider->setValue(50);  // without the focus: the edit keeps its value
    EXPECT_EQ(edit->text(), QStringLiteral("0.05 s."));
    window().tracksegonsEnter();
    slider->setValue(37);
    EXPECT_EQ(edit->text(), QStringLiteral("3.70 s."));
    EXPECT_DOUBLE_EQ(edit->value(), 3.7);
    window().tracksegonsExit();
    slider->setValue(20);
    EXPECT_EQ(edit->text(), QStringLiteral("3.70 s."));
}

}  // namespace
