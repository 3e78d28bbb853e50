#include "window/announcements.h"

namespace fader {

namespace {
// Latin-1 letters and dots, written as escapes: i-acute, a-acute, e-acute,
// o-slash, y-acute, u-acute, middle dot, bullet.
constexpr std::u16string_view kClosingTags = u"</b></i></u>";
constexpr std::u16string_view kName = u" m\u00EDrt\u00E1n\u00E9";
constexpr std::u16string_view kSeparator = u" \u00B7";
constexpr std::u16string_view kCredit = u" c\u00F8d\u00E9d b\u00FD grelvin";
constexpr std::u16string_view kFadedUp = u" f\u00E1d\u00E9d \u00FAp ";
constexpr std::u16string_view kFadedDown = u" f\u00E1d\u00E9d d\u00F8wn ";

std::u16string Announcement(const Banners& b, std::u16string_view lastWords) {
  std::u16string line;
  for (std::u16string_view piece :
       {kClosingTags, std::u16string_view(b.BannerOrnament), std::u16string_view(b.BannerTextFont), kName,
        std::u16string_view(b.BannerDotFont), kSeparator, std::u16string_view(b.BannerTextFont), kCredit,
        std::u16string_view(b.BannerDotFont), kSeparator, std::u16string_view(b.BannerTextFont), lastWords,
        std::u16string_view(b.BannerOrnament)}) {
    line.append(piece);
  }
  return line;
}
}  // namespace

void Banners::Set() {
  BannerOrnament = u"<font face=\"arial narrow\" color=\"#ff0000\">.\u00B7\u2022\u2022\u00B7.";
  BannerTextFont = u"<font face=\"arial narrow\" color=\"#000000\">";
  BannerDotFont = u"<font face=\"arial narrow\" color=\"#000000\">";
}

std::u16string StartAnnouncement(const Banners& banners) { return Announcement(banners, kFadedUp); }
std::u16string ExitAnnouncement(const Banners& banners) { return Announcement(banners, kFadedDown); }

void RunFormLoad(Banners& banners, LifecycleControls& controls) {
  banners.Set();
  controls.ApplyShape();
  controls.StayOnTop();
  controls.Post(StartAnnouncement(banners));  // no room open: nothing posted, start goes on
}

void RunExitClick(Banners& banners, LifecycleControls& controls) {
  banners.Set();
  if (controls.Ask(kExitQuestion, kExitTitle, kExitStyle) != kAnswerYes) return;
  controls.Post(ExitAnnouncement(banners));
  controls.RemoveTrayIcon();
  controls.EndProgram();
}

}  // namespace fader
