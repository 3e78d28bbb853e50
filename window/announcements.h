// The two fixed lines the program posts into the chat room: one when it
// starts, one when the user confirms exit.
#pragma once

#include <string>
#include <string_view>

namespace fader {

// The window-level markup strings the announcements are built from.
struct Banners {
  std::u16string BannerOrnament;
  std::u16string BannerTextFont;
  std::u16string BannerDotFont;

  void Set();  // gives all three their values, or leaves them as they were when it throws
};

std::u16string StartAnnouncement(const Banners& banners);
std::u16string ExitAnnouncement(const Banners& banners);

// What start-up and exit need of the window and the platform.
class LifecycleControls {
 public:
  virtual ~LifecycleControls() = default;
  virtual void ApplyShape() = 0;  // region from the skin, applied to the window
  virtual void StayOnTop() = 0;
  virtual bool Post(std::u16string_view markup) = 0;
  // The modal question; returns the button pressed (6 Yes, 7 No).
  virtual int Ask(std::u16string_view text, std::u16string_view title, unsigned style) = 0;
  virtual void RemoveTrayIcon() = 0;  // the shell may keep a dead program's icon
  virtual void EndProgram() = 0;      // ends the process at once
};

inline constexpr std::u16string_view kExitQuestion = u"Are you sure you want to exit m\u00EDrt\u00E1n\u00E9?";
inline constexpr std::u16string_view kExitTitle = u"m\u00EDrt\u00E1n\u00E9";
inline constexpr unsigned kExitStyle = 36;  // Yes and No, question mark; Yes is the default
inline constexpr int kAnswerYes = 6;

// Start-up and exit, each step of which may fail without stopping the rest.
class Lifecycle {
 public:
  explicit Lifecycle(LifecycleControls& controls) : c_(controls) {}

  // The load handler's work, in order: banners, shape, topmost, start
  // announcement. A step that fails is left out; the window opens all the same.
  void FormLoad(Banners& banners);
  // The exit button: ask; on Yes post the exit announcement, remove the tray
  // icon and end, whatever fails on the way. A question that cannot be asked
  // counts as No. A click that comes while an exit is under way (sent by
  // another program while the question is open or the line goes out) does
  // nothing, so the exit line goes out at most once.
  void ExitClick(Banners& banners);

 private:
  LifecycleControls& c_;
  bool exiting_ = false;
};

}  // namespace fader
