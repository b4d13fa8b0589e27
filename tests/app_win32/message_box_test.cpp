// The window's message boxes, found and answered from outside as a UI test does: the window
// runs on a thread of its own here, and a Wake() from the test's thread has it show the box.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "app/win32/win32_convert_window.h"
#include "tests/app_win32/window_driver.h"

namespace mv::win32::testing {
namespace {

/// A window on its own thread; `shown` runs on that thread at each Wake().
class WindowOnThread {
 public:
  explicit WindowOnThread(std::function<void(Win32ConvertWindow&)> shown) {
    std::promise<Win32ConvertWindow*> created;
    thread_ = std::thread([&created, shown] {
      Win32ConvertWindow* self = nullptr;
      ConvertWindowCommands commands;
      commands.woken = [&] { shown(*self); };
      Win32ConvertWindow window(GetModuleHandleW(nullptr), commands);
      self = &window;
      created.set_value(self);
      window.Run(SW_SHOWNA);
    });
    window_ = created.get_future().get();
  }
  ~WindowOnThread() {
    PostMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    thread_.join();
  }
  Win32ConvertWindow& Window() { return *window_; }

 private:
  std::thread thread_;
  Win32ConvertWindow* window_ = nullptr;
};

TEST(Win32MessageBox, ShowsTheTextWithTheProgramsTitleAndOkOnly) {
  std::promise<void> closed;
  WindowOnThread window([&](Win32ConvertWindow& shown) {
    shown.ShowMessage("Dump Completed\nGrüße €");
    closed.set_value();
  });
  window.Window().Wake();
  const HWND box = WaitForMessageBox(window.Window().Handle());
  ASSERT_NE(box, nullptr);
  const MessageBoxContent content = ReadMessageBox(box);
  EXPECT_EQ(content.title, L"MigrateVantrel22To23");
  EXPECT_EQ(content.text, L"Dump Completed\nGr\u00fc\u00dfe \u20ac");
  EXPECT_EQ(content.buttons, std::vector<int>{IDOK});
  AnswerMessageBox(box, IDOK);
  closed.get_future().get();
}

struct Answer {
  const char* name;
  int button;
  bool yes;
};

class Win32QuestionBox : public ::testing::TestWithParam<Answer> {};

TEST_P(Win32QuestionBox, OffersYesAndNoAndTellsTheAnswer) {
  std::promise<bool> answered;
  WindowOnThread window(
      [&](Win32ConvertWindow& shown) { answered.set_value(shown.AskYesNo("Stop it?")); });
  window.Window().Wake();
  const HWND box = WaitForMessageBox(window.Window().Handle());
  ASSERT_NE(box, nullptr);
  const MessageBoxContent content = ReadMessageBox(box);
  EXPECT_EQ(content.title, L"MigrateVantrel22To23");
  EXPECT_EQ(content.text, L"Stop it?");
  EXPECT_EQ(content.buttons, (std::vector<int>{IDYES, IDNO}));
  // No is the default button.
  EXPECT_EQ(GetWindowLongW(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  AnswerMessageBox(box, GetParam().button);
  EXPECT_EQ(answered.get_future().get(), GetParam().yes);
}

INSTANTIATE_TEST_SUITE_P(Answers, Win32QuestionBox,
                         ::testing::Values(Answer{"Yes", IDYES, true}, Answer{"No", IDNO, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mv::win32::testing
