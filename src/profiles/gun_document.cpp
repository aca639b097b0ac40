#include "profiles/gun_document.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <system_error>

#include "platform/log.h"
#include "profiles/atomic_file_write.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/macro_events.h"
#include "profiles/unreadable_document.h"

namespace vorlin {
namespace {

constexpr char kEvents[] = "Events";
constexpr char kAction[] = "Action";
constexpr char kButton[] = "Button";
constexpr char kDelay[] = "Delay";
constexpr char kType[] = "Type";
constexpr char kDown[] = "down";
constexpr char kUp[] = "up";

constexpr int kLeftButton = 1;
constexpr int kPressDelay = 10;
constexpr int kXMoveDelay = 5;
constexpr int kClickType = 1;
constexpr int kXMoveType = 4;
constexpr int kYMoveType = 5;

bool ActionIsDown(const Json::Value& event) {
  return IsDownAction(Member(event, kAction));
}

// "Button": a whole number that fits an int; anything else reads as 0, as the mouse's encoding
// takes it.
int IntegerOf(const Json::Value& value) {
  return value.isInt() ? value.asInt() : 0;
}

Json::Value Event(const char* action, int button, int delay, int type) {
  Json::Value event(Json::objectValue);
  event[kAction] = action;
  event[kButton] = button;
  event[kDelay] = delay;
  event[kType] = type;
  return event;
}

bool InRange(int bullet) {
  return bullet >= 0 && bullet < kBulletCount;
}

}  // namespace

std::string GunFileName(int gun) {
  return "ShootData_" + std::to_string(gun) + ".Shoot";
}

std::filesystem::path GunFilePath(const std::filesystem::path& folder, int gun) {
  return folder / GunFileName(gun);
}

int ClampGunIndex(int gun) {
  return std::clamp(gun, 0, kGunCount - 1);
}

int ClampBulletIndex(int bullet) {
  return std::clamp(bullet, 0, kBulletCount - 1);
}

int LeadingNumber(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  long long value = 0;
  bool any = false;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    any = true;
    value = std::min<long long>(value * 10 + (text[at] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (!any) return 0;
  if (negative) return static_cast<int>(std::max<long long>(-value, INT_MIN));
  return static_cast<int>(std::min<long long>(value, INT_MAX));
}

Bullet ClampBullet(Bullet bullet) {
  bullet.x_distance = std::clamp(bullet.x_distance, 0, kMaxBulletDistance);
  bullet.y_distance = std::clamp(bullet.y_distance, 0, kMaxBulletDistance);
  bullet.delay = std::clamp(bullet.delay, 0, kMaxBulletDelay);
  return bullet;
}

int DeviceDistance(int stored_distance) {
  return static_cast<int>(static_cast<unsigned>(stored_distance) & 0xFFu);
}

Bullet ReadBullet(const Json::Value& gun, int bullet) {
  if (!InRange(bullet)) return {};
  const Json::Value& events = Member(gun, kEvents);
  const auto at = static_cast<Json::ArrayIndex>(bullet * kEventsPerBullet);
  const Json::Value& x = Element(events, at + 2);
  const Json::Value& y = Element(events, at + 3);
  Bullet result;
  result.x_left = ActionIsDown(x);
  result.x_distance = IntegerOf(Member(x, kButton));
  result.y_up = ActionIsDown(y);
  result.y_distance = IntegerOf(Member(y, kButton));
  result.delay = MacroDelayOf(Member(y, kDelay));  // as the mouse will read it
  return result;
}

std::vector<Bullet> ReadBullets(const Json::Value& gun) {
  const Json::Value& events = Member(gun, kEvents);
  if (!events.isArray()) return {};
  const int count = static_cast<int>(
      std::min<Json::ArrayIndex>((events.size() + kEventsPerBullet - 1) / kEventsPerBullet,
                                 kBulletCount));
  std::vector<Bullet> bullets;
  bullets.reserve(count);
  for (int b = 0; b < count; ++b) bullets.push_back(ReadBullet(gun, b));
  return bullets;
}

Json::Value BulletEvents(const Bullet& bullet) {
  const Bullet b = ClampBullet(bullet);
  const char* x_direction = b.x_left ? kDown : kUp;
  const char* y_direction = b.y_up ? kDown : kUp;
  Json::Value events(Json::arrayValue);
  events.append(Event(kDown, kLeftButton, kPressDelay, kClickType));
  events.append(Event(kUp, kLeftButton, 0, kClickType));
  events.append(Event(x_direction, b.x_distance, kXMoveDelay, kXMoveType));
  events.append(Event(y_direction, b.y_distance, b.delay, kYMoveType));
  events.append(Event(x_direction, 0, 0, kXMoveType));
  events.append(Event(y_direction, 0, 0, kYMoveType));
  return events;
}

bool WriteBullet(Json::Value& gun, int bullet, const Bullet& value) {
  if (!InRange(bullet)) return false;
  Json::Value& events = MutableMember(gun, kEvents);
  if (!events.isArray()) events = Json::Value(Json::arrayValue);
  const auto first = static_cast<Json::ArrayIndex>(bullet * kEventsPerBullet);
  // Whole bullets skipped over become zero bullets; a partly present bullet is completed.
  const Json::Value zero = BulletEvents(Bullet{});
  while (events.size() < first) events.append(zero[events.size() % kEventsPerBullet]);
  const Json::Value written = BulletEvents(value);
  for (Json::ArrayIndex i = 0; i < kEventsPerBullet; ++i) events[first + i] = written[i];
  return true;
}

Json::Value MakeGunDocument(const std::vector<Bullet>& bullets) {
  Json::Value gun(Json::objectValue);
  gun[kEvents] = Json::Value(Json::arrayValue);
  const int count = std::min<int>(static_cast<int>(bullets.size()), kBulletCount);
  for (int b = 0; b < count; ++b) WriteBullet(gun, b, bullets[b]);
  return gun;
}

// ---- Files ----

Json::Value ReadGunFile(const std::filesystem::path& path) {
  return JsonFileIo::ReadJsonFile(path);
}

bool WriteGunFile(const std::filesystem::path& path, const Json::Value& gun) {
  return JsonFileIo::WriteJsonFile(path, gun);
}

GunFileResult CopyGunFile(const std::filesystem::path& source,
                          const std::filesystem::path& destination) {
  const std::string text = JsonFileIo::ReadTextFile(source);
  if (text.empty()) return GunFileResult::kSourceUnreadable;
  if (JsonFileIo::ParseJsonText(text).isNull()) return GunFileResult::kNotADocument;
  if (!WriteFileAtomically(destination, text)) return GunFileResult::kWriteFailed;
  return GunFileResult::kDone;
}

bool GunFileNeedsSeeding(const std::filesystem::path& path) {
  return ReadGunFile(path).isNull();
}

bool KeepUnreadableGunFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size == 0 || !ReadGunFile(path).isNull()) return true;
  if (!KeepUnreadableDocument(path).empty()) return true;
  qCWarning(lcVorlin) << "gun file" << path.c_str() << "unreadable and not kept aside";
  return false;
}

GunFileResult SeedGunFile(const std::filesystem::path& default_folder,
                          const std::filesystem::path& data_folder, int gun,
                          bool keep_unreadable) {
  const std::filesystem::path source = GunFilePath(default_folder, gun);
  const std::filesystem::path target = GunFilePath(data_folder, gun);
  const std::string text = JsonFileIo::ReadTextFile(source);
  if (text.empty()) return GunFileResult::kSourceUnreadable;
  if (JsonFileIo::ParseJsonText(text).isNull()) return GunFileResult::kNotADocument;
  if (keep_unreadable && !KeepUnreadableGunFile(target)) return GunFileResult::kWriteFailed;
  if (!WriteFileAtomically(target, text)) return GunFileResult::kWriteFailed;
  return GunFileResult::kDone;
}

}  // namespace vorlin
