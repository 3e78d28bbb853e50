// The start and exit announcements and the order of start-up and exit.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "window/announcements.h"

namespace {

class FakeLifecycle : public fader::LifecycleControls {
 public:
  std::vector<std::string> calls;
  std::vector<std::u16string> posted;
  int answer = 7;
  std::u16string asked_text, asked_title;
  unsigned asked_style = 0;

  std::set<std::string> throw_at;                       // steps that fail
  std::map<std::string, std::function<void()>> during;  // runs inside a step

  void ApplyShape() override { Step("shape"); }
  void StayOnTop() override { Step("topmost"); }
  bool Post(std::u16string_view m) override {
    Step("post");
    posted.emplace_back(m);
    return false;  // no room open: start and exit go on all the same
  }
  int Ask(std::u16string_view text, std::u16string_view title, unsigned style) override {
    Step("ask");
    asked_text = text;
    asked_title = title;
    asked_style = style;
    return answer;
  }
  void RemoveTrayIcon() override { Step("untray"); }
  void EndProgram() override { Step("end"); }

 private:
  void Step(const std::string& name) {
    calls.push_back(name);
    if (auto f = during.find(name); f != during.end() && f->second) std::exchange(f->second, nullptr)();
    if (throw_at.count(name)) throw std::runtime_error(name + " failed");
  }
};

TEST(Announcements, StartLineIsSpelledExactly) {
  fader::Banners b;
  b.Set();
  EXPECT_EQ(fader::StartAnnouncement(b),
            u"</b></i></u><font face=\"arial narrow\" color=\"#ff0000\">.\u00B7\u2022\u2022\u00B7."
            u"<font face=\"arial narrow\" color=\"#000000\"> m\u00EDrt\u00E1n\u00E9"
            u"<font face=\"arial narrow\" color=\"#000000\"> \u00B7"
            u"<font face=\"arial narrow\" color=\"#000000\"> c\u00F8d\u00E9d b\u00FD grelvin"
            u"<font face=\"arial narrow\" color=\"#000000\"> \u00B7"
            u"<font face=\"arial narrow\" color=\"#000000\"> f\u00E1d\u00E9d \u00FAp "
            u"<font face=\"arial narrow\" color=\"#ff0000\">.\u00B7\u2022\u2022\u00B7.");
}

TEST(Announcements, ExitLineDiffersOnlyInItsLastWordGroup) {
  fader::Banners b;
  b.Set();
  const auto start = fader::StartAnnouncement(b), exit = fader::ExitAnnouncement(b);
  const std::u16string up = u" f\u00E1d\u00E9d \u00FAp ", down = u" f\u00E1d\u00E9d d\u00F8wn ";
  const auto at = start.find(up);
  ASSERT_NE(at, std::u16string::npos);
  EXPECT_EQ(exit, start.substr(0, at) + down + start.substr(at + up.size()));
  // Both end with the ornament that follows the closing tags at the start.
  EXPECT_EQ(start.substr(start.size() - b.BannerOrnament.size()), b.BannerOrnament);
  EXPECT_EQ(exit.substr(exit.size() - b.BannerOrnament.size()), b.BannerOrnament);
  EXPECT_EQ(start.substr(0, 12 + b.BannerOrnament.size()), u"</b></i></u>" + b.BannerOrnament);
}

TEST(Lifecycle, LoadShapesThenGoesOnTopThenAnnounces) {
  fader::Banners b;
  FakeLifecycle f;
  fader::Lifecycle(f).FormLoad(b);
  EXPECT_EQ(f.calls, (std::vector<std::string>{"shape", "topmost", "post"}));
  ASSERT_EQ(f.posted.size(), 1u);
  EXPECT_EQ(f.posted[0], fader::StartAnnouncement(b));
}

TEST(Lifecycle, ExitAsksAndOnNoDoesNothing) {
  fader::Banners b;
  FakeLifecycle f;
  f.answer = 7;
  fader::Lifecycle(f).ExitClick(b);
  EXPECT_EQ(f.calls, std::vector<std::string>{"ask"});
  EXPECT_EQ(f.asked_text, u"Are you sure you want to exit m\u00EDrt\u00E1n\u00E9?");
  EXPECT_EQ(f.asked_title, u"m\u00EDrt\u00E1n\u00E9");
  EXPECT_EQ(f.asked_style, 36u);
}

TEST(Lifecycle, ExitOnYesAnnouncesRemovesTheTrayIconThenEnds) {
  fader::Banners b;
  FakeLifecycle f;
  f.answer = 6;
  fader::Lifecycle(f).ExitClick(b);
  EXPECT_EQ(f.calls, (std::vector<std::string>{"ask", "post", "untray", "end"}));
  EXPECT_EQ(f.posted[0], fader::ExitAnnouncement(b));
}

TEST(Lifecycle, YesEndsTheProgramWhateverFailsOnTheWay) {
  fader::Banners b;
  FakeLifecycle f;
  f.answer = 6;
  f.throw_at = {"post", "untray"};
  fader::Lifecycle(f).ExitClick(b);
  EXPECT_EQ(f.calls, (std::vector<std::string>{"ask", "post", "untray", "end"}));

  // A question that cannot be asked is a No.
  FakeLifecycle g;
  g.throw_at = {"ask"};
  fader::Lifecycle(g).ExitClick(b);
  EXPECT_EQ(g.calls, std::vector<std::string>{"ask"});
}

TEST(Lifecycle, ExitClickDuringAnExitDoesNothingSoTheLineGoesOutOnce) {
  fader::Banners b;
  FakeLifecycle f;
  f.answer = 6;
  fader::Lifecycle life(f);
  // Another program clicks exit while the question is open and while the
  // exit line is on its way.
  f.during = {{"ask", [&] { life.ExitClick(b); }}, {"post", [&] { life.ExitClick(b); }}};
  life.ExitClick(b);
  life.ExitClick(b);  // the program has ended; nothing more is posted
  EXPECT_EQ(f.calls, (std::vector<std::string>{"ask", "post", "untray", "end"}));
  // After a No the button works again.
  FakeLifecycle g;
  fader::Lifecycle again(g);
  again.ExitClick(b);
  again.ExitClick(b);
  EXPECT_EQ(g.calls, (std::vector<std::string>{"ask", "ask"}));
}

TEST(Lifecycle, LoadGoesOnPastEveryStepThatFails) {
  fader::Banners b;
  FakeLifecycle f;
  f.throw_at = {"shape", "topmost"};
  fader::Lifecycle(f).FormLoad(b);
  EXPECT_EQ(f.calls, (std::vector<std::string>{"shape", "topmost", "post"}));
}

}  // namespace
