#pragma once

// The mouse's recoil patterns ("guns") as documents. Each of the four guns is one JSON file,
// "ShootData_<n>.Shoot", whose "Events" array holds its bullets in the macro event form: bullet b
// is the six events at 6b .. 6b + 5
//
//   6b      {"down", 1, 10, 1}              left button press, then 10 ms
//   6b + 1  {"up",   1,  0, 1}              left button release
//   6b + 2  {X dir,  X distance, 5, 4}      pointer move on X, then 5 ms
//   6b + 3  {Y dir,  Y distance, delay, 5}  pointer move on Y, then the bullet's delay
//   6b + 4  {X dir,  0, 0, 4}
//   6b + 5  {Y dir,  0, 0, 5}
//
// ("Action", "Button", "Delay", "Type"). X "down" moves left, "up" right; Y "down" moves up,
// "up" down. The mouse keeps the low 8 bits of a distance and reads a delay as the macro events
// do (held within 0..65535), so the editor shows a delay as the mouse takes it and stores nothing
// it cannot send: distances are 0..255 and delays 0..65535.
//
// Gun files come from disk and from imported files, so every read treats a value of the wrong
// shape as missing. Writes go through the atomic writer.

#include <json/value.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin {

inline constexpr int kGunCount = 4;
inline constexpr int kBulletCount = 30;
inline constexpr int kEventsPerBullet = 6;
inline constexpr int kMaxBulletDistance = 255;
inline constexpr int kMaxBulletDelay = 65535;
// The file dialogs' filter of exported and imported guns.
inline constexpr char kShootFileFilter[] = "Shoot Files(*.shoot)";

// One bullet as the editor shows it.
struct Bullet {
  bool x_left = false;  // X "Action" "down"
  int x_distance = 0;
  bool y_up = false;    // Y "Action" "down"
  int y_distance = 0;
  int delay = 0;        // ms after the Y move

  bool operator==(const Bullet&) const = default;
};

// "ShootData_" + n + ".Shoot".
std::string GunFileName(int gun);
// folder / GunFileName(gun).
std::filesystem::path GunFilePath(const std::filesystem::path& folder, int gun);

// A selection brought into range: 0..3 and 0..29 (so -1 gives 0 and 30 gives 29).
int ClampGunIndex(int gun);
int ClampBulletIndex(int bullet);

// The decimal number at the start of an edit's text (after leading blanks, with an optional
// sign); 0 when the text does not start with one. Saturates instead of overflowing.
int LeadingNumber(std::string_view text);
// The bullet with its distances in 0..255 and its delay in 0..65535.
Bullet ClampBullet(Bullet bullet);
// How far the mouse moves for a stored distance: the low 8 bits it keeps.
int DeviceDistance(int stored_distance);

// Bullet `bullet` of a gun document. "Action" "down" (in any case) is left or up. A missing element
// or key, an element that is not an object, or a "Button"/"Delay" that is not a whole number
// reads as direction right/down and zeros (a "Delay" written as a decimal string, the macro form,
// is read as its number). A negative bullet
// or one past the 30th reads as a zero bullet without touching the document.
Bullet ReadBullet(const Json::Value& gun, int bullet);
// The bullets the document holds: one per started group of six events, at most 30. A document
// that is not a gun (not an object, no "Events" array) holds none.
std::vector<Bullet> ReadBullets(const Json::Value& gun);

// The six events of a bullet (values clamped as ClampBullet does).
Json::Value BulletEvents(const Bullet& bullet);
// Puts the six events of `bullet` at 6b .. 6b + 5 of the document's "Events"; every other key
// and event stays. A shorter "Events" is extended, and bullets skipped over are filled with zero
// bullets, so that the mouse never receives an empty event. A document or "Events" of the wrong
// shape is replaced by an empty one first. False (and nothing changed) for a bullet outside
// 0..29.
bool WriteBullet(Json::Value& gun, int bullet, const Bullet& value);
// A gun document of these bullets (at most the first 30).
Json::Value MakeGunDocument(const std::vector<Bullet>& bullets);

// ---- Files ----

enum class GunFileResult {
  kDone,
  kSourceUnreadable,  // missing, unreadable or too large
  kNotADocument,      // the source's text is not JSON
  kWriteFailed,       // the destination could not be replaced
};

// The gun file, parsed; null when it is missing, unreadable or not JSON.
Json::Value ReadGunFile(const std::filesystem::path& path);
// Writes the document in the styled form, atomically. False when it could not be written.
bool WriteGunFile(const std::filesystem::path& path, const Json::Value& gun);
// Copies the text of `source` over `destination` as it is (other keys, layout and comments
// kept), atomically, when the source is a JSON document. A source that is not JSON would be
// replaced by the factory gun at the next start anyway, so it is refused rather than allowed to
// overwrite the user's gun; the destination is then left as it was.
GunFileResult CopyGunFile(const std::filesystem::path& source,
                          const std::filesystem::path& destination);
// Whether the gun file must be seeded from its factory file: it is missing, unreadable or not
// JSON.
bool GunFileNeedsSeeding(const std::filesystem::path& path);
// Before a gun file is replaced: a file that holds something that cannot be parsed is kept beside
// it ("<name>.unreadable-<stamp>"). False only when such a file could not be kept (it must then
// be left alone); true when there was nothing to keep or it was kept.
bool KeepUnreadableGunFile(const std::filesystem::path& path);
// Replaces the user's gun file `gun` in `data_folder` with its factory file from
// `default_folder`. With `keep_unreadable`, a user file that exists but cannot be parsed is kept
// beside it ("<name>.unreadable-<stamp>") before it is replaced, and left alone when it cannot be
// kept.
GunFileResult SeedGunFile(const std::filesystem::path& default_folder,
                          const std::filesystem::path& data_folder, int gun,
                          bool keep_unreadable);

}  // namespace vorlin
