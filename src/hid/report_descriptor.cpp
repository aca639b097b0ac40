#include "hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <string_view>

// The parser follows the item rules of Linux's HID core (drivers/hid/hid-core.c) so that we accept
// exactly the descriptors the kernel accepts, and it lays the fields out the way both the kernel
// and the Windows parser do: one running bit offset per (report kind, report id).

namespace vorlin {
namespace {

constexpr int kItemMain = 0;
constexpr int kItemGlobal = 1;
constexpr int kItemLocal = 2;

constexpr int kMainInput = 8;
constexpr int kMainOutput = 9;
constexpr int kMainCollection = 10;
constexpr int kMainFeature = 11;
constexpr int kMainEndCollection = 12;

constexpr int kLongItemTag = 15;

struct Item {
  int type = 0;
  int tag = 0;
  int size = 0;  // data bytes: 0, 1, 2 or 4
  uint32_t udata = 0;
  int32_t sdata = 0;
};

struct GlobalState {
  uint16_t usagePage = 0;
  int32_t logicalMin = 0;
  int32_t logicalMax = 0;
  int32_t physicalMin = 0;
  int32_t physicalMax = 0;
  uint32_t reportSize = 0;
  uint32_t reportCount = 0;
  uint8_t reportId = 0;
};

struct LocalUsage {
  UsageSpan span;
  bool extended = false;  // declared with its page (4-byte usage); never takes the current page
};

struct LocalState {
  std::vector<LocalUsage> usages;
  uint32_t usageCount = 0;  // usages the entries stand for, as the kernel counts them
  uint32_t usageMinimum = 0;
  int delimiterDepth = 0;
  int delimiterBranch = 0;
};

class Parser {
 public:
  Parser(ParsedDescriptor& out, std::string* error) : out_(out), error_(error) {}

  bool Run(std::span<const uint8_t> bytes);

 private:
  bool Fail(std::string_view why) {
    if (error_) *error_ = std::string(why) + " at offset " + std::to_string(itemOffset_);
    return false;
  }
  bool Main(const Item& item);
  bool Global(const Item& item);
  bool Local(const Item& item);
  bool AddField(ReportKind kind, uint32_t flags);
  bool AddUsage(LocalUsage usage, uint32_t count);
  void ApplyLateUsagePage();
  void Finish();

  ParsedDescriptor& out_;
  std::string* error_;
  size_t itemOffset_ = 0;
  GlobalState global_;
  std::array<GlobalState, kMaxGlobalStackDepth> globalStack_{};
  int globalDepth_ = 0;
  LocalState local_;
  int collectionDepth_ = 0;
  bool usesReportIds_ = false;
  // Running size in bits of every report, by kind and id, over the whole descriptor.
  std::array<std::array<uint32_t, 256>, 3> reportBits_{};
};

uint16_t Low16(uint32_t v) {
  return static_cast<uint16_t>(v & 0xFFFF);
}
uint16_t High16(uint32_t v) {
  return static_cast<uint16_t>(v >> 16);
}

bool Parser::Run(std::span<const uint8_t> bytes) {
  out_.collections.clear();
  if (bytes.empty()) return Fail("empty descriptor");
  if (bytes.size() > kMaxDescriptorBytes) return Fail("descriptor longer than 4096 bytes");

  size_t pos = 0;
  while (pos < bytes.size()) {
    itemOffset_ = pos;
    const uint8_t prefix = bytes[pos++];
    Item item;
    item.type = (prefix >> 2) & 3;
    item.tag = prefix >> 4;
    if (item.tag == kLongItemTag) return Fail("long item");
    static constexpr int kSizes[4] = {0, 1, 2, 4};
    item.size = kSizes[prefix & 3];
    if (bytes.size() - pos < static_cast<size_t>(item.size)) return Fail("truncated item");
    for (int i = 0; i < item.size; ++i)
      item.udata |= static_cast<uint32_t>(bytes[pos + i]) << (8 * i);
    pos += item.size;
    switch (item.size) {
      case 1:
        item.sdata = static_cast<int8_t>(item.udata);
        break;
      case 2:
        item.sdata = static_cast<int16_t>(item.udata);
        break;
      default:
        item.sdata = static_cast<int32_t>(item.udata);
        break;
    }

    bool ok = true;
    switch (item.type) {
      case kItemMain:
        ok = Main(item);
        break;
      case kItemGlobal:
        ok = Global(item);
        break;
      case kItemLocal:
        ok = Local(item);
        break;
      default:
        break;  // reserved item type: ignored
    }
    if (!ok) return false;
  }
  itemOffset_ = bytes.size();
  if (collectionDepth_ != 0) return Fail("collection left open");
  if (local_.delimiterDepth != 0) return Fail("delimiter left open");
  Finish();
  return true;
}

// A usage given in one or two bytes takes the usage page in effect at the main item, even when the
// Usage Page item comes after it: the kernel re-applies the last page to the trailing usages that
// do not carry it yet, and so do we.
void Parser::ApplyLateUsagePage() {
  for (auto it = local_.usages.rbegin(); it != local_.usages.rend(); ++it) {
    if (it->extended) continue;
    if (it->span.usagePage == global_.usagePage) break;
    it->span.usagePage = global_.usagePage;
  }
}

bool Parser::Main(const Item& item) {
  ApplyLateUsagePage();
  bool ok = true;
  switch (item.tag) {
    case kMainInput:
      ok = AddField(ReportKind::Input, item.udata);
      break;
    case kMainOutput:
      ok = AddField(ReportKind::Output, item.udata);
      break;
    case kMainFeature:
      ok = AddField(ReportKind::Feature, item.udata);
      break;
    case kMainCollection:
      if (collectionDepth_ == 0) {
        TopLevelCollection& c = out_.collections.emplace_back();
        if (!local_.usages.empty()) {
          c.usagePage = local_.usages.front().span.usagePage;
          c.usage = local_.usages.front().span.usageMin;
        }
      }
      ++collectionDepth_;
      break;
    case kMainEndCollection:
      if (collectionDepth_ == 0) return Fail("End Collection without a collection");
      --collectionDepth_;
      break;
    default:
      break;  // unknown main item: ignored, as the kernel does
  }
  local_ = LocalState{};
  return ok;
}

bool Parser::AddField(ReportKind kind, uint32_t flags) {
  const GlobalState& g = global_;
  const bool rangeInvalid =
      g.logicalMin < 0 ? g.logicalMax < g.logicalMin
                       : static_cast<uint32_t>(g.logicalMax) < static_cast<uint32_t>(g.logicalMin);
  if (rangeInvalid) return Fail("logical maximum below logical minimum");

  uint32_t& bits = reportBits_[static_cast<size_t>(kind)][g.reportId];
  const uint64_t end = uint64_t{bits} + uint64_t{g.reportSize} * g.reportCount;
  if (end > uint64_t{kMaxReportBufferBytes - 1} * 8) return Fail("report too long");

  ReportField f;
  f.kind = kind;
  f.reportId = g.reportId;
  f.bitOffset = bits;
  f.reportSize = g.reportSize;
  f.reportCount = g.reportCount;
  f.flags = flags;
  f.usagePage = g.usagePage;
  f.logicalMin = g.logicalMin;
  f.logicalMax = g.logicalMax;
  f.physicalMin = g.physicalMin;
  f.physicalMax = g.physicalMax;
  bits = static_cast<uint32_t>(end);

  // Items outside every collection still take their room in the report, but belong to no
  // top-level collection (the kernel accepts such descriptors; nobody can open those fields).
  if (collectionDepth_ == 0 || out_.collections.empty()) return true;

  f.spans.reserve(local_.usages.size());
  for (const LocalUsage& u : local_.usages) f.spans.push_back(u.span);
  if (!f.spans.empty()) {
    f.usagePage = f.spans.front().usagePage;
    f.isRange = f.spans.size() == 1 && f.spans.front().isRange;
    f.usageMin = f.spans.front().usageMin;
    f.usageMax = f.spans.back().usageMax;
    // The plain list only for items that name each usage: expanding ranges would cost up to
    // 65536 entries per item for nothing, the spans already say it all.
    const bool allSingle =
        std::none_of(f.spans.begin(), f.spans.end(), [](const UsageSpan& s) { return s.isRange; });
    if (allSingle) {
      f.usages.reserve(f.spans.size());
      for (const UsageSpan& s : f.spans) f.usages.push_back(s.usageMin);
    }
  }
  out_.collections.back().fields.push_back(std::move(f));
  return true;
}

bool Parser::Global(const Item& item) {
  switch (item.tag) {
    case 0:
      global_.usagePage = Low16(item.udata);
      return true;
    case 1:
      global_.logicalMin = item.sdata;
      return true;
    case 2:
      // A maximum is read as unsigned unless the minimum is negative: many devices declare
      // 0..255 as "15 00 25 ff".
      global_.logicalMax = global_.logicalMin < 0 ? item.sdata : static_cast<int32_t>(item.udata);
      return true;
    case 3:
      global_.physicalMin = item.sdata;
      return true;
    case 4:
      global_.physicalMax = global_.physicalMin < 0 ? item.sdata : static_cast<int32_t>(item.udata);
      return true;
    case 5:  // unit exponent
    case 6:  // unit
      return true;
    case 7:
      if (item.udata > kMaxReportSizeBits) return Fail("report size over 256 bits");
      global_.reportSize = item.udata;
      return true;
    case 8:
      if (item.udata == 0 || item.udata > 255) return Fail("invalid report id");
      global_.reportId = static_cast<uint8_t>(item.udata);
      usesReportIds_ = true;
      return true;
    case 9:
      if (item.udata > kMaxReportCount) return Fail("report count over 12288");
      global_.reportCount = item.udata;
      return true;
    case 10:
      if (globalDepth_ == kMaxGlobalStackDepth) return Fail("global stack overflow");
      globalStack_[globalDepth_++] = global_;
      return true;
    case 11:
      if (globalDepth_ == 0) return Fail("global stack underflow");
      global_ = globalStack_[--globalDepth_];
      return true;
    default:
      return Fail("unknown global item");
  }
}

bool Parser::AddUsage(LocalUsage usage, uint32_t count) {
  // The kernel keeps at most kMaxReportCount usages per main item: a single usage beyond that
  // refuses the descriptor, a range is cut short.
  if (count == 1 && !usage.span.isRange && local_.usageCount >= kMaxReportCount)
    return Fail("too many usages");
  local_.usageCount = static_cast<uint32_t>(
      std::min<uint64_t>(uint64_t{local_.usageCount} + count, kMaxReportCount));
  local_.usages.push_back(usage);
  return true;
}

bool Parser::Local(const Item& item) {
  switch (item.tag) {
    case 0: {                                       // Usage
      if (local_.delimiterBranch > 1) return true;  // alternative usages are ignored
      LocalUsage u;
      u.extended = item.size == 4;
      u.span.usagePage = u.extended ? High16(item.udata) : global_.usagePage;
      u.span.usageMin = u.span.usageMax = Low16(item.udata);
      return AddUsage(u, 1);
    }
    case 1:  // Usage Minimum
      if (local_.delimiterBranch > 1) return true;
      local_.usageMinimum = item.udata;
      return true;
    case 2: {  // Usage Maximum: the range from the last Usage Minimum (0 when none)
      if (local_.delimiterBranch > 1) return true;
      const uint32_t min = local_.usageMinimum;
      const uint32_t max = item.udata;
      if (max < min) return true;  // an empty range declares nothing
      LocalUsage u;
      u.extended = item.size == 4;
      u.span.isRange = true;
      if (u.extended) {
        u.span.usagePage = High16(min);
        u.span.usageMin = Low16(min);
        u.span.usageMax = High16(max) == High16(min) ? Low16(max) : 0xFFFF;
      } else {
        u.span.usagePage = global_.usagePage;
        u.span.usageMin = Low16(min);
        u.span.usageMax = Low16(max);  // max <= 0xFFFF here, so min is too
      }
      return AddUsage(u, u.span.usageMax - u.span.usageMin + 1u);
    }
    case 10:  // Delimiter
      if (item.udata != 0) {
        if (local_.delimiterDepth != 0) return Fail("nested delimiters");
        ++local_.delimiterDepth;
        ++local_.delimiterBranch;
      } else {
        if (local_.delimiterDepth == 0) return Fail("close delimiter without open");
        --local_.delimiterDepth;
      }
      return true;
    default:
      return true;  // designators, strings: not needed
  }
}

void Parser::Finish() {
  for (TopLevelCollection& c : out_.collections) {
    c.usesReportIds = usesReportIds_;
    std::array<std::array<bool, 256>, 3> seen{};
    for (const ReportField& f : c.fields) {
      const size_t k = static_cast<size_t>(f.kind);
      if (seen[k][f.reportId]) continue;
      seen[k][f.reportId] = true;
      c.reportSizes.push_back({f.kind, f.reportId, reportBits_[k][f.reportId]});
    }
  }
}

}  // namespace

bool ParseReportDescriptor(std::span<const uint8_t> bytes, ParsedDescriptor& out,
                           std::string* error) {
  Parser parser(out, error);
  if (parser.Run(bytes)) return true;
  out.collections.clear();
  return false;
}

}  // namespace vorlin
