#include "window/announcements.h"

#include <utility>

#include "window/attempt.h"

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

std::u16string Announcement(const Banners& b, std::u16string_view last_words) {
  std::u16string line;
  for (std::u16string_view piece :
       {kClosingTags, std::u16string_view(b.BannerOrnament), std::u16string_view(b.BannerTextFont), kName,
        std::u16string_view(b.BannerDotFont), kSeparator, std::u16string_view(b.BannerTextFont), kCredit,
        std::u16string_view(b.BannerDotFont), kSeparator, std::u16string_view(b.BannerTextFont), last_words,
        std::u16string_view(b.BannerOrnament)}) {
    line.append(piece);
  }
  return line;
}
}  // namespace

void Banners::Set() {
  Banners set;
  set.BannerOrnament = u"<font face=\"arial narrow\" color=\"#ff0000\">.\u00B7\u2022\u2022\u00B7.";
  set.BannerTextFont = u"<font face=\"arial narrow\" color=\"#000000\">";
  set.BannerDotFont = u"<font face=\"arial narrow\" color=\"#000000\">";
  *this = std::move(set);
}

std::u16string StartAnnouncement(const Banners& banners) { return Announcement(banners, kFadedUp); }
std::u16string ExitAnnouncement(const Banners& banners) { return Announcement(banners, kFadedDown); }

void Lifecycle::FormLoad(Banners& banners) {
  const bool banners_set = Attempt([&] { banners.Set(); });
  Attempt([&] { c_.ApplyShape(); });
  Attempt([&] { c_.StayOnTop(); });
  // No room open: nothing posted, start goes on.
  if (banners_set) Attempt([&] { c_.Post(StartAnnouncement(banners)); });
}

void Lifecycle::ExitClick(Banners& banners) {
  if (exiting_) return;
  exiting_ = true;
  const bool banners_set = Attempt([&] { banners.Set(); });
  int answer = 0;
  Attempt([&] { answer = c_.Ask(kExitQuestion, kExitTitle, kExitStyle); });
  if (answer != kAnswerYes) {
    exiting_ = false;
    return;
  }
  if (banners_set) Attempt([&] { c_.Post(ExitAnnouncement(banners)); });
  Attempt([&] { c_.RemoveTrayIcon(); });
  c_.EndProgram();
}

}  // namespace fader
