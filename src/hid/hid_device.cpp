#include "hid/hid_device.h"

#include <algorithm>
#include <chrono>

#include "hid/hid_backend.h"
#include "hid/interface_path.h"

namespace vorlin {

// Everything that lives from a successful Open to Close. Readers and writers hold their own
// reference while they wait, so Close can drop it (and abort the channel) from another thread.
struct HidDevice::Session {
  std::unique_ptr<HidChannel> channel;
  HidAttributes attributes;
  HidCaps caps;
  TopLevelCollection collection;
  std::vector<uint8_t> inputReportIds;  // ids of this collection's input reports
};

namespace {

using Clock = std::chrono::steady_clock;

HidCaps MakeCaps(const TopLevelCollection& c) {
  HidCaps caps;
  caps.Usage = c.usage;
  caps.UsagePage = c.usagePage;
  caps.InputReportByteLength = c.ReportByteLength(ReportKind::Input);
  caps.OutputReportByteLength = c.ReportByteLength(ReportKind::Output);
  caps.FeatureReportByteLength = c.ReportByteLength(ReportKind::Feature);
  caps.NumberInputButtonCaps = static_cast<uint16_t>(c.ButtonCaps(ReportKind::Input).size());
  caps.NumberInputValueCaps = static_cast<uint16_t>(c.ValueCaps(ReportKind::Input).size());
  caps.NumberOutputButtonCaps = static_cast<uint16_t>(c.ButtonCaps(ReportKind::Output).size());
  caps.NumberOutputValueCaps = static_cast<uint16_t>(c.ValueCaps(ReportKind::Output).size());
  caps.NumberFeatureButtonCaps = static_cast<uint16_t>(c.ButtonCaps(ReportKind::Feature).size());
  caps.NumberFeatureValueCaps = static_cast<uint16_t>(c.ValueCaps(ReportKind::Feature).size());
  return caps;
}

// A crafted descriptor can declare thousands of button capabilities, each able to carry thousands
// of usages; an interface whose decoded input would need more room than this is not opened.
constexpr size_t kMaxDecodedUsages = size_t{1} << 20;

// One entry per button capability, then one per value usage, as the device code expects them.
// False when the tables would be unreasonably large.
bool MakeInputData(const TopLevelCollection& c, std::vector<HidReportData>& data) {
  data.clear();
  size_t totalUsages = 0;
  for (const ButtonCap& cap : c.ButtonCaps(ReportKind::Input)) {
    HidReportData d;
    d.isButtonData = true;
    d.usagePage = cap.usagePage;
    d.reportId = cap.reportId;
    d.usageMin = cap.usageMin;
    d.usageMax = cap.isRange ? cap.usageMax : cap.usageMin;
    d.maxUsageLength = c.MaxUsageListLength(ReportKind::Input, cap.usagePage);
    totalUsages += d.maxUsageLength;
    if (totalUsages > kMaxDecodedUsages) return false;
    d.usages.assign(d.maxUsageLength, 0);
    data.push_back(std::move(d));
  }
  for (const ValueCap& cap : c.ValueCaps(ReportKind::Input)) {
    const uint32_t last = cap.isRange ? cap.usageMax : cap.usageMin;
    for (uint32_t u = cap.usageMin; u <= last; ++u) {
      HidReportData d;
      d.usagePage = cap.usagePage;
      d.reportId = cap.reportId;
      d.usage = static_cast<uint16_t>(u);
      data.push_back(std::move(d));
      if (data.size() > kMaxDecodedUsages) return false;
    }
  }
  return true;
}

int RemainingMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Keeps a flag set for the duration of a transfer.
class FlagScope {
 public:
  explicit FlagScope(std::atomic<bool>& flag) : flag_(flag) { flag_.store(true); }
  ~FlagScope() { flag_.store(false); }

 private:
  std::atomic<bool>& flag_;
};

}  // namespace

HidDevice::HidDevice() = default;

HidDevice::~HidDevice() {
  Close();
  FreeInterfaceList();
}

bool HidDevice::EnumerateInterfaces() {
  FreeInterfaceList();
  std::vector<std::string> paths;
  for (const auto& backend : HidBackends::All()) {
    std::vector<HidNodeInfo> nodes;
    if (!backend->ListNodes(nodes)) continue;
    for (const HidNodeInfo& node : nodes) {
      if (node.collectionNumber >= 0) {
        paths.push_back(MakeInterfacePath(backend->Scheme(), node.node, node.vendorId,
                                          node.productId, node.interfaceNumber,
                                          node.collectionNumber));
        continue;
      }
      ParsedDescriptor parsed;
      if (!ParseReportDescriptor(node.reportDescriptor, parsed)) continue;
      const size_t n = parsed.collections.size();
      for (size_t i = 0; i < n; ++i)
        paths.push_back(MakeInterfacePath(backend->Scheme(), node.node, node.vendorId,
                                          node.productId, node.interfaceNumber,
                                          n > 1 ? static_cast<int>(i + 1) : 0));
    }
  }
  interfaces_ = std::move(paths);
  cursor_ = 0;
  listBuilt_ = true;
  return true;
}

const std::string* HidDevice::NextInterfacePath() {
  if (!listBuilt_ || cursor_ >= interfaces_.size()) return nullptr;
  return &interfaces_[cursor_++];
}

void HidDevice::FreeInterfaceList() {
  interfaces_.clear();
  cursor_ = 0;
  listBuilt_ = false;
}

bool HidDevice::Open(std::string_view path, bool forRead, bool forWrite, bool overlapped,
                     bool exclusive) {
  std::unique_lock lock(mutex_);
  forRead_ = forRead;
  forWrite_ = forWrite;
  overlapped_ = overlapped;
  exclusive_ = exclusive;
  path_ = std::string(path);
  CloseLocked();
  lock.unlock();

  InterfacePathParts parts;
  auto backend = HidBackends::ForPath(path);
  if (!backend || !SplitInterfacePath(path, parts)) return false;

  HidNodeInfo info;
  if (!backend->QueryNode(parts.node, info)) return false;
  ParsedDescriptor parsed;
  if (!ParseReportDescriptor(info.reportDescriptor, parsed) || parsed.collections.empty())
    return false;

  const uint32_t collectionNumber = ParseHexTag(path, "&col");
  size_t index = 0;
  if (info.collectionNumber < 0 && collectionNumber > 0) {
    if (parsed.collections.size() < 2 || collectionNumber > parsed.collections.size()) return false;
    index = collectionNumber - 1;
  }

  auto session = std::make_shared<Session>();
  session->channel = backend->OpenNode(parts.node, forRead, forWrite, exclusive);
  if (!session->channel) return false;
  session->collection = std::move(parsed.collections[index]);
  session->attributes = {info.vendorId, info.productId, info.versionNumber};
  session->caps = MakeCaps(session->collection);
  session->inputReportIds = session->collection.ReportIds(ReportKind::Input);
  std::vector<HidReportData> inputData;
  if (!MakeInputData(session->collection, inputData)) return false;

  lock.lock();
  inputData_ = std::move(inputData);
  session_ = std::move(session);
  interfaceNumber_ = ParseHexTag(path, "&mi_");
  collectionNumber_ = collectionNumber;
  return true;
}

void HidDevice::Close() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

void HidDevice::CloseLocked() {
  if (session_) {
    // A reader or writer may be waiting on the channel in another thread: release it now. It
    // keeps the session alive until it returns, so nothing is freed under it.
    session_->channel->Abort();
    session_.reset();
  }
  inputData_.clear();
}

bool HidDevice::IsOpen() const {
  std::lock_guard lock(mutex_);
  return session_ != nullptr;
}

std::shared_ptr<HidDevice::Session> HidDevice::CurrentSession() const {
  std::lock_guard lock(mutex_);
  return session_;
}

bool HidDevice::Read(uint8_t* buffer, size_t count, size_t& transferred, int timeoutMs) {
  FlagScope reading(reading_);
  transferred = 0;
  auto session = CurrentSession();
  if (!session || !buffer || count == 0) return false;

  const bool numbered = session->collection.usesReportIds;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    const int wait = timeoutMs < 0 ? -1 : RemainingMs(deadline);
    size_t received = 0;
    IoResult r;
    if (numbered) {
      r = session->channel->ReadReport({buffer, count}, received, wait);
    } else {
      // Reports of an interface without ids arrive bare; give them the id byte 0 in front.
      buffer[0] = 0;
      r = count > 1 ? session->channel->ReadReport({buffer + 1, count - 1}, received, wait)
                    : IoResult::Error;
      if (r == IoResult::Ok) received += 1;
    }
    if (r != IoResult::Ok) return false;
    if (!numbered || std::binary_search(session->inputReportIds.begin(),
                                        session->inputReportIds.end(), buffer[0])) {
      transferred = std::min(received, count);
      return true;
    }
    // A report of another collection of the same interface: not ours, keep waiting.
    if (timeoutMs >= 0 && RemainingMs(deadline) == 0) return false;
  }
}

bool HidDevice::Write(const uint8_t* buffer, size_t count, size_t& transferred, int timeoutMs) {
  FlagScope writing(writing_);
  transferred = 0;
  auto session = CurrentSession();
  if (!session || !buffer || count == 0) return false;
  if (session->channel->WriteReport({buffer, count}, timeoutMs) != IoResult::Ok) return false;
  transferred = count;
  return true;
}

bool HidDevice::UnpackInputReport(std::span<const uint8_t> report,
                                  std::vector<HidReportData>& data) const {
  if (report.empty()) return false;
  auto session = CurrentSession();
  if (!session) return false;
  const TopLevelCollection& c = session->collection;
  const uint8_t reportId = report[0];
  for (HidReportData& d : data) {
    if (d.reportId != reportId) continue;
    if (d.isButtonData) {
      std::vector<uint16_t> usages;
      d.status = GetUsages(c, ReportKind::Input, d.usagePage, report, d.maxUsageLength, usages);
      d.usages.assign(d.maxUsageLength, 0);
      size_t kept = 0;
      for (uint16_t u : usages)
        if (u >= d.usageMin && u <= d.usageMax && kept < d.usages.size()) d.usages[kept++] = u;
    } else {
      d.status = GetUsageValue(c, ReportKind::Input, d.usagePage, d.usage, report, d.value);
      if (d.status != kHidpStatusSuccess) return false;
      d.status =
          GetScaledUsageValue(c, ReportKind::Input, d.usagePage, d.usage, report, d.scaledValue);
    }
    d.isDataSet = true;
  }
  return true;
}

bool HidDevice::UnpackInputReport(std::span<const uint8_t> report) {
  std::vector<HidReportData> data;
  {
    std::lock_guard lock(mutex_);
    data = inputData_;
  }
  const bool ok = UnpackInputReport(report, data);
  std::lock_guard lock(mutex_);
  if (inputData_.size() == data.size()) inputData_ = std::move(data);
  return ok;
}

uint16_t HidDevice::FirstInputUsage() const {
  std::lock_guard lock(mutex_);
  if (inputData_.empty() || !inputData_.front().isButtonData || inputData_.front().usages.empty())
    return 0;
  return inputData_.front().usages.front();
}

HidAttributes HidDevice::Attributes() const {
  auto s = CurrentSession();
  return s ? s->attributes : HidAttributes{};
}

HidCaps HidDevice::Caps() const {
  auto s = CurrentSession();
  return s ? s->caps : HidCaps{};
}

std::vector<HidReportData> HidDevice::InputData() const {
  std::lock_guard lock(mutex_);
  return inputData_;
}

}  // namespace vorlin
