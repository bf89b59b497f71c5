// The program's own message dialog: captions and titles from the string table, default and
// Escape buttons, and the layout that makes room for long translated captions.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/messagedialog.h"

namespace vortan {
namespace {

TMessageRequest Request(TMsgDlgButtons buttons, TMsgDlgButtons defaults = {},
                        TMsgDlgType kind = TMsgDlgType::Confirmation) {
  TMessageRequest r;
  r.Text = "Line one\r\nLine two";
  r.Kind = kind;
  r.Buttons = buttons;
  r.Defaults = defaults;
  return r;
}

struct DefaultCase {
  const char* name;
  TMsgDlgButtons buttons, defaults;
  TMsgDlgBtn expectedDefault;
  TModalResult escape;
};

void PrintTo(const DefaultCase& c, std::ostream* os) { *os << c.name; }

class DefaultButtons : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultButtons, DefaultHasFocusAndEscapeAnswersByTheRule) {
  const DefaultCase& c = GetParam();
  TMessageDlg dlg(Request(c.buttons, c.defaults));
  for (int i = 0; i < MsgDlgBtnCount; ++i) {
    QPushButton* b = dlg.Button(TMsgDlgBtn(i));
    ASSERT_EQ(b != nullptr, c.buttons.Has(TMsgDlgBtn(i)));
    if (b) {
      EXPECT_EQ(b->isDefault(), TMsgDlgBtn(i) == c.expectedDefault) << i;
    }
  }
  dlg.show();
  EXPECT_EQ(dlg.focusWidget(), dlg.Button(c.expectedDefault));
  QTest::keyClick(&dlg, Qt::Key_Escape);
  EXPECT_EQ(dlg.Answer(), c.escape);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DefaultButtons,
    ::testing::Values(
        DefaultCase{
            "OkWins", {TMsgDlgBtn::Yes, TMsgDlgBtn::OK}, {}, TMsgDlgBtn::OK, TModalResult::OK},
        DefaultCase{"YesWithoutOk",
                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No},
                    {},
                    TMsgDlgBtn::Yes,
                    TModalResult::No},
        DefaultCase{"GivenNo",
                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::Cancel},
                    {TMsgDlgBtn::No},
                    TMsgDlgBtn::No,
                    TModalResult::Cancel},
        DefaultCase{"YesToAll",
                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::YesToAll},
                    {},
                    TMsgDlgBtn::Yes,
                    TModalResult::No}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDlg, ClosingThroughTheFrameAnswersCancel) {
  TMessageDlg dlg(Request({TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
  dlg.show();
  dlg.close();
  EXPECT_EQ(dlg.Answer(), TModalResult::Cancel);
}

TEST(MessageDlg, ClickingAButtonAnswersIt) {
  TMessageDlg dlg(Request({TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::YesToAll}));
  dlg.show();
  QTest::mouseClick(dlg.Button(TMsgDlgBtn::YesToAll), Qt::LeftButton);
  EXPECT_EQ(dlg.Answer(), TModalResult::YesToAll);
}

TEST(MessageDlg, CheckBoxStartsTickedWhenTheMessageIsHiddenAndSitsAtTheBottom) {
  TMessageRequest r = Request({TMsgDlgBtn::OK}, {}, TMsgDlgType::Information);
  r.HasCheckBox = true;
  r.Checked = true;
  TMessageDlg dlg(r);
  ASSERT_NE(dlg.CheckBox(), nullptr);
  EXPECT_TRUE(dlg.Checked());
  EXPECT_EQ(dlg.CheckBox()->text(), "Don't show this message again.");
  EXPECT_EQ(dlg.CheckBox()->x(), 8);
  EXPECT_EQ(dlg.height() - (dlg.CheckBox()->y() + dlg.CheckBox()->height()), 4);
  EXPECT_GE(dlg.CheckBox()->y(), dlg.Button(TMsgDlgBtn::OK)->geometry().bottom());
  TMessageDlg plain(Request({TMsgDlgBtn::OK}));
  EXPECT_EQ(plain.CheckBox(), nullptr);
}

TEST(MessageDlg, TitlesAndCaptionsComeFromTheStringTable) {
  TMessageDlg warning(Request({TMsgDlgBtn::OK}, {}, TMsgDlgType::Warning));
  EXPECT_EQ(warning.windowTitle(), "Warning");
  TMessageDlg confirm(Request({TMsgDlgBtn::YesToAll}, {}, TMsgDlgType::Confirmation));
  EXPECT_EQ(confirm.windowTitle(), "Confirm");
  EXPECT_EQ(confirm.Button(TMsgDlgBtn::YesToAll)->text(), "Yes to &All");
  TMessageDlg custom(Request({TMsgDlgBtn::OK}, {}, TMsgDlgType::Custom));
  EXPECT_EQ(custom.windowTitle(), "Vortan 2.0");
}

TEST(MessageDlg, LongTranslatedCaptionsWidenTheButtonsAndTheDialog) {
  TMessageDlg before(Request({TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
  const int normalWidth = before.Button(TMsgDlgBtn::Yes)->width();
  EXPECT_EQ(normalWidth, before.Button(TMsgDlgBtn::No)->width());

  TParlax lang;
  lang.LoadFromText(
      "STRINGS {\n MsgDlgYes = &Sim, com certeza absoluta e para sempre\n"
      " MsgDlgConfirm = Confirmar\n}\n");
  lang.Active = true;
  LoadStringTable(lang);
  TMessageDlg after(Request({TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
  ResetStringTable();

  EXPECT_EQ(after.windowTitle(), "Confirmar");
  QPushButton* yes = after.Button(TMsgDlgBtn::Yes);
  QPushButton* no = after.Button(TMsgDlgBtn::No);
  EXPECT_GT(yes->width(), normalWidth);
  EXPECT_EQ(yes->width(), no->width());  // one width for every button
  EXPECT_GE(yes->width(),
            yes->fontMetrics().horizontalAdvance("Sim, com certeza absoluta e para sempre") + 8);
  // The row fits with the margin on both sides and is centred.
  const int left = yes->x();
  const int right = after.width() - no->geometry().right() - 1;
  EXPECT_GE(left, 12);
  EXPECT_LE(std::abs(left - right), 1);
  EXPECT_LT(yes->geometry().right(), no->x());
}

TEST(MessageDlg, MetricsFollowTheMargin) {
  const auto m = TMessageDlg::MetricsFor(12);
  EXPECT_EQ(m.Unit, 6);
  EXPECT_EQ(m.ButtonWidth, 75);
  EXPECT_EQ(m.Spacing, 6);
}

}  // namespace
}  // namespace vortan
