#pragma once

// HidDevice: one open HID interface (one top-level collection of a USB interface) with its
// identity, its report layout and whole-report transfers bounded by timeouts. Paths come from
// EnumerateInterfaces; any registered HidBackend (hidraw nodes, the virtual bus) can serve them.
//
// Threads: one reader and one writer may use the object at a time; Close (or Open) may be called
// from another thread while they wait, and ends their wait at once with false. The decoded input
// data is guarded so that a reader decoding a report never sees the tables freed under it.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hid/report_descriptor.h"

namespace vorlin {

class HidChannel;

struct HidAttributes {
  uint16_t VendorID = 0;
  uint16_t ProductID = 0;
  uint16_t VersionNumber = 0;
};

struct HidCaps {
  uint16_t Usage = 0;
  uint16_t UsagePage = 0;
  uint16_t InputReportByteLength = 0;
  uint16_t OutputReportByteLength = 0;
  uint16_t FeatureReportByteLength = 0;
  uint16_t NumberInputButtonCaps = 0;
  uint16_t NumberInputValueCaps = 0;
  uint16_t NumberOutputButtonCaps = 0;
  uint16_t NumberOutputValueCaps = 0;
  uint16_t NumberFeatureButtonCaps = 0;
  uint16_t NumberFeatureValueCaps = 0;
};

// One decoded element of a report: a button capability (usage list) or one value usage.
struct HidReportData {
  bool isButtonData = false;
  uint16_t usagePage = 0;
  uint32_t status = kHidpStatusSuccess;
  uint32_t reportId = 0;
  bool isDataSet = false;
  // Button part.
  uint32_t usageMin = 0;
  uint32_t usageMax = 0;
  uint32_t maxUsageLength = 0;
  std::vector<uint16_t> usages;  // maxUsageLength long; 0 after the last usage present
  // Value part.
  uint16_t usage = 0;
  uint32_t value = 0;
  int32_t scaledValue = 0;
};

class HidDevice {
 public:
  static constexpr int kInfinite = -1;

  HidDevice();
  ~HidDevice();
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  // Interface list of every registered backend. True when the list was built.
  bool EnumerateInterfaces();
  // The next collected path, or nullptr after the last one or before any enumeration. The string
  // stays owned by the list.
  const std::string* NextInterfacePath();
  void FreeInterfaceList();

  // Opens one interface by path and learns its identity and layout. `overlapped` is kept for the
  // record: every transfer here is bounded and abortable. An open object is closed first.
  bool Open(std::string_view path, bool forRead, bool forWrite, bool overlapped, bool exclusive);
  // Ends a waiting Read/Write (from any thread), frees the layout and closes the interface. The
  // path and flags stay.
  void Close();
  bool IsOpen() const;

  // Whole reports, the report id byte first (0 for an interface without report ids). A negative
  // timeout waits without limit. Read returns only reports that belong to this collection.
  bool Read(uint8_t* buffer, size_t count, size_t& transferred, int timeoutMs);
  bool Write(const uint8_t* buffer, size_t count, size_t& transferred, int timeoutMs);

  // Decodes an input report into `data` (entries as InputData() lays them out): for each entry of
  // the report's id, the usages within its range or the value. False when a value fails to decode.
  bool UnpackInputReport(std::span<const uint8_t> report, std::vector<HidReportData>& data) const;
  // The same into the object's own input data.
  bool UnpackInputReport(std::span<const uint8_t> report);
  // The first usage of the first input data entry after the last UnpackInputReport: the event code
  // the device reported. 0 when there is none.
  uint16_t FirstInputUsage() const;

  const std::string& Path() const { return path_; }
  HidAttributes Attributes() const;
  HidCaps Caps() const;
  uint32_t InterfaceNumber() const { return interfaceNumber_; }
  uint32_t CollectionNumber() const { return collectionNumber_; }
  // A copy of the freshly laid out input data (one entry per button capability, then per value).
  std::vector<HidReportData> InputData() const;

 private:
  struct Session;
  void CloseLocked();
  std::shared_ptr<Session> CurrentSession() const;

  std::vector<std::string> interfaces_;
  size_t cursor_ = 0;
  bool listBuilt_ = false;

  bool forRead_ = false;
  bool forWrite_ = false;
  bool overlapped_ = false;
  bool exclusive_ = false;
  std::string path_;
  std::atomic<uint32_t> interfaceNumber_{0};
  std::atomic<uint32_t> collectionNumber_{0};

  mutable std::mutex mutex_;  // guards session_ and inputData_
  std::shared_ptr<Session> session_;
  std::vector<HidReportData> inputData_;

  std::atomic<bool> reading_{false};
  std::atomic<bool> writing_{false};
};

}  // namespace vorlin
