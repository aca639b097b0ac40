// Gun files come from disk and from imported files: reading the bullets of any document, writing
// a bullet into it and reading it back must never crash, the bullet written must read back as
// written (within the editor's ranges), the other bullets must stay, and the written document
// must parse again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/gun_document.h"
#include "profiles/json_file_io.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

// A bullet made from the input's first bytes, so the fuzzer steers the values too.
Bullet BulletFrom(std::string_view text) {
  const auto byte = [&text](size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
  };
  Bullet bullet;
  bullet.x_left = byte(0) & 1;
  bullet.y_up = byte(0) & 2;
  bullet.x_distance = static_cast<int>(byte(1) * 3) - 100;
  bullet.y_distance = static_cast<int>(byte(2) * 2);
  bullet.delay = static_cast<int>(byte(3) << 9) - 1000;
  return bullet;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Json::Value document = JsonFileIo::ParseJsonText(text);
  LeadingNumber(text);

  const std::vector<Bullet> before = ReadBullets(document);
  Check(before.size() <= static_cast<size_t>(kBulletCount));
  for (int b : {-1, 0, 1, 29, 30}) ReadBullet(document, b);

  const Bullet value = BulletFrom(text);
  const int target = size > 4 ? static_cast<unsigned char>(text[4]) % (kBulletCount + 2) - 1 : 3;
  Json::Value changed = document;
  const bool written = WriteBullet(changed, target, value);
  Check(written == (target >= 0 && target < kBulletCount));
  if (!written) {
    Check(changed == document);
    return 0;
  }
  Check(ReadBullet(changed, target) == ClampBullet(value));
  const std::vector<Bullet> after = ReadBullets(changed);
  Check(after.size() >= static_cast<size_t>(target) + 1);
  // Bullets before the written one keep their values when the document was a gun.
  for (size_t b = 0; b < before.size() && b < static_cast<size_t>(target); ++b)
    Check(after[b] == before[b]);

  const Json::Value again = JsonFileIo::ParseJsonText(JsonFileIo::StyledText(changed));
  Check(!again.isNull());
  Check(ReadBullet(again, target) == ClampBullet(value));
  return 0;
}
