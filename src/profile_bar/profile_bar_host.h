#pragma once

#include <string>

namespace vorlin {

// What the profile bar needs from the device page it belongs to. The page owns the device and
// its profile data; the bar only keeps the list of profiles.
class ProfileBarHost {
 public:
  virtual ~ProfileBarHost() = default;

  // The profile `profile_id` (document `document_path`) has become current: the page gives the
  // device the id, loads the document (creating it from the factory document when it is
  // missing) and writes every setting, macros included, to the device.
  virtual void ApplyProfile(const std::string& profile_id, const std::string& document_path) = 0;

  // The user confirmed "restore factory settings": the page reloads its settings from the
  // factory document and applies them, writes its macros and key table, clears the key marks,
  // and resets the colour presets and audio groups.
  virtual void ResetToFactory() = 0;
};

}  // namespace vorlin
