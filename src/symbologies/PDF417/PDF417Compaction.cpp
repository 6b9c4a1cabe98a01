// PDF417 data compaction: the text is cut into text, numeric and byte runs, small runs are merged
// where one mode is cheaper than a switch, and each run is compacted into codewords.

#include "PDF417Compaction.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace pdf417 {

namespace {

// Mode codewords.
constexpr int32_t kTextLatch = 900;
constexpr int32_t kByteLatch = 901;
constexpr int32_t kNumericLatch = 902;
constexpr int32_t kByteShift = 913;
constexpr int32_t kByteLatch6 = 924; // byte run whose length is a multiple of 6

// Text compaction sub-mode values of the latches and shifts.
constexpr uint16_t kToLowerOrAlphaShift = 27; // ll in upper and mixed, as in lower
constexpr uint16_t kToMixedOrAlpha = 28;      // ml in upper and lower, al in mixed
constexpr uint16_t kPunctShiftOrAlpha = 29;   // ps in upper, lower and mixed, al in punctuation
constexpr uint16_t kToPunct = 25;             // pl in mixed
constexpr uint16_t kSpace = 26;

// Character classes of text compaction, in bits 16-20 of a class-and-value word; the low 8 bits
// hold the value of the character in its sub-mode (or the byte itself).
constexpr uint32_t kUpper = 1u << 16;
constexpr uint32_t kLower = 1u << 17;
constexpr uint32_t kMixed = 1u << 18;
constexpr uint32_t kPunct = 1u << 19;
constexpr uint32_t kByte = 1u << 20;

constexpr std::string_view MIXED_SET = "0123456789&\r\t,:#-.$/+%*=^";
constexpr std::string_view PUNCTUATION_SET = ";<>@[\\]_`~!\r\t,:\n-.$/\"|*()?{}'";
static_assert(MIXED_SET.size() == 25 && PUNCTUATION_SET.size() == 29);

constexpr std::array<uint32_t, 256> makeTextClasses() {
  std::array<uint32_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const size_t mixed = MIXED_SET.find(char(c));
    const size_t punct = PUNCTUATION_SET.find(char(c));
    if (c >= 'A' && c <= 'Z')
      classes[c] = kUpper | uint32_t(c - 'A');
    else if (c >= 'a' && c <= 'z')
      classes[c] = kLower | uint32_t(c - 'a');
    else if (c == ' ')
      classes[c] = kUpper | kLower | kMixed | kSpace;
    else if (mixed != std::string_view::npos && mixed == punct)
      classes[c] = kMixed | kPunct | uint32_t(mixed);
    else if (mixed != std::string_view::npos)
      classes[c] = kMixed | uint32_t(mixed);
    else if (punct != std::string_view::npos)
      classes[c] = kPunct | uint32_t(punct);
    else
      classes[c] = kByte | uint32_t(c);
  }
  return classes;
}

constexpr std::array<uint32_t, 256> TEXT_CLASSES = makeTextClasses();

// The class-and-value word of text[index]; 0 past the end of the current segment, so that the
// look-ahead never sees the next one.
uint32_t getTextTypeAndValue(std::string_view text, int32_t end, int32_t index) {
  if (index >= end) return 0;
  return TEXT_CLASSES[uint8_t(text[size_t(index)])];
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// A byte that text compaction encodes without a byte shift.
bool isText(char c) {
  const uint8_t b = uint8_t(c);
  return (b >= 32 && b <= 126) || b == '\r' || b == '\n' || b == '\t';
}

// ---- Segment list ----
//
// The segments stay where they were added; merging unlinks the absorbed ones, so that removing a
// segment does not move the rest.

constexpr int32_t kNone = -1;

// 16-bit indices: the text has at most 5420 bytes, and small segments keep the list of a
// pathological text (one segment per byte) small.
struct Segment {
  char type; // 'T' text, 'N' numeric, 'B' byte
  int16_t start;
  int16_t end;  // exclusive
  int16_t prev; // neighbours in the list, or kNone
  int16_t next;
  int32_t length() const { return end - start; }
};
static_assert(kPDF417MaxTextBytes < INT16_MAX);

struct SegmentList {
  std::vector<Segment> items;
  int32_t first = kNone;
  Segment& operator[](int32_t i) { return items[size_t(i)]; }
};

void listAdd(SegmentList& list, char type, int32_t start, int32_t end) {
  const int32_t last = int32_t(list.items.size()) - 1; // segments are added in text order
  list.items.push_back({type, int16_t(start), int16_t(end), int16_t(last), int16_t(kNone)});
  if (last == kNone)
    list.first = 0;
  else
    list[last].next = int16_t(last + 1);
}

void listRemove(SegmentList& list, int32_t index) {
  if (index < 0 || size_t(index) >= list.items.size()) return;
  const Segment& s = list[index];
  if (s.prev != kNone)
    list[s.prev].next = s.next;
  else
    list.first = s.next;
  if (s.next != kNone) list[s.next].prev = s.prev;
}

// Splits text[from, to) into alternating text and byte segments.
void addTextAndByteRuns(SegmentList& list, std::string_view text, int32_t from, int32_t to) {
  int32_t runStart = from;
  for (int32_t i = from + 1; i <= to; ++i) {
    if (i == to || isText(text[size_t(i)]) != isText(text[size_t(runStart)])) {
      listAdd(list, isText(text[size_t(runStart)]) ? 'T' : 'B', runStart, i);
      runStart = i;
    }
  }
}

// Digit runs of 13 or more become numeric segments; what lies between them is split into text
// and byte runs. Shorter digit runs are cheaper in the mixed sub-mode of the text around them.
void segmentText(SegmentList& list, std::string_view text) {
  constexpr int32_t kMinNumericRun = 13;
  const int32_t length = int32_t(text.size());
  int32_t stretchStart = 0;
  int32_t digits = 0;
  for (int32_t i = 0; i < length; ++i) {
    if (isDigit(text[size_t(i)])) {
      ++digits;
      continue;
    }
    if (digits >= kMinNumericRun) {
      addTextAndByteRuns(list, text, stretchStart, i - digits);
      listAdd(list, 'N', i - digits, i);
      stretchStart = i;
    }
    digits = 0;
  }
  if (digits >= kMinNumericRun) {
    addTextAndByteRuns(list, text, stretchStart, length - digits);
    listAdd(list, 'N', length - digits, length);
  } else {
    addTextAndByteRuns(list, text, stretchStart, length);
  }
}

// ---- Merging ----
//
// Each pass rescans from the first segment after every change until nothing changes. A merge
// only alters the neighbourhood of the merged segment, and nothing before it matched on the
// scan so far, so resuming one segment before the merged one finds the same next merge as a
// full rescan would, without its quadratic cost. A merge returns the merged segment, or kNone.

bool isOneByte(const Segment& s) {
  return s.type == 'B' && s.length() == 1;
}

// A one-byte run between two text runs of 3 or more bytes together: shifted into the text.
int32_t mergeByteIntoText(SegmentList& list, int32_t i) {
  const Segment& s = list[i];
  if (!isOneByte(s) || s.prev == kNone || s.next == kNone) return kNone;
  Segment& prev = list[s.prev];
  const Segment& next = list[s.next];
  if (prev.type != 'T' || next.type != 'T' || prev.length() + next.length() < 3) return kNone;
  const int32_t merged = s.prev, absorbed = s.next;
  prev.end = next.end;
  listRemove(list, absorbed);
  listRemove(list, i);
  return merged;
}

// Segment i absorbs the neighbours that `absorbs` accepts when `grows` accepts segment i.
template <typename Grows, typename Absorbs>
int32_t absorbNeighbours(SegmentList& list, int32_t i, Grows grows, Absorbs absorbs) {
  Segment& s = list[i];
  if (!grows(s)) return kNone;
  const bool takeNext = s.next != kNone && absorbs(list[s.next]);
  const bool takePrev = s.prev != kNone && absorbs(list[s.prev]);
  if (takeNext) {
    s.end = list[s.next].end;
    listRemove(list, s.next);
  }
  if (!takePrev) return takeNext ? i : kNone;
  const int32_t merged = s.prev;
  list[merged].end = s.end;
  list[merged].type = s.type;
  listRemove(list, i);
  return merged;
}

template <typename Merge> void runMergePass(SegmentList& list, Merge merge) {
  int32_t i = list.first;
  while (i != kNone) {
    const int32_t merged = merge(list, i);
    if (merged == kNone)
      i = list[i].next;
    else
      i = list[merged].prev != kNone ? list[merged].prev : merged;
  }
}

void mergeSegments(SegmentList& list, std::string_view text) {
  constexpr int32_t kLongText = 5; // a text run at least this long is worth keeping as text
  runMergePass(list, mergeByteIntoText);
  runMergePass(list, [](SegmentList& l, int32_t i) {
    return absorbNeighbours(
        l, i, [](const Segment& s) { return s.type == 'T' && s.length() >= kLongText; },
        [](const Segment& s) { return s.type == 'T' || isOneByte(s); });
  });
  runMergePass(list, [](SegmentList& l, int32_t i) {
    return absorbNeighbours(
        l, i, [](const Segment& s) { return s.type == 'B'; },
        [](const Segment& s) {
          return s.type == 'B' || (s.type == 'T' && s.length() < kLongText);
        });
  });
  // Eight or more digits on their own are shorter in numeric compaction.
  if (list.first == kNone) return;
  Segment& only = list[list.first];
  if (only.next == kNone && only.type == 'T' && only.length() >= 8) {
    const std::string_view run = text.substr(size_t(only.start), size_t(only.length()));
    if (std::all_of(run.begin(), run.end(), isDigit)) only.type = 'N';
  }
}

// ---- Compaction ----
//
// Each compaction appends to p.codewords at `count` and returns false (error 1) when the
// codewords would pass the data limit; the check comes before any write.

bool fits(int32_t count, int32_t needed) {
  return count + needed <= kPDF417MaxDataCodewords;
}

// Half-codeword buffer of text compaction. A character adds at most three values and the
// codeword limit is checked after every character, so the buffer never holds more than two
// values per codeword of the limit plus one character.
constexpr size_t kTextBufferSize = 2 * kPDF417MaxDataCodewords + 4;

struct TextBuffer {
  std::array<uint16_t, kTextBufferSize> values;
  size_t length = 0;
  int32_t extra = 0; // byte shifts: each (913, byte) pair is two codewords, not one
  void add(uint16_t v) { values[length++] = v; }
  void add(uint16_t a, uint16_t b) {
    add(a);
    add(b);
  }
  void add(uint16_t a, uint16_t b, uint16_t c) {
    add(a, b);
    add(c);
  }
  // Codewords once the buffer is closed (odd length padded).
  int32_t codewords() const { return (int32_t(length) + extra + 1) / 2; }
};

// Encodes text[start, end) in text compaction, starting in the upper-case sub-mode.
bool textCompaction(PDF417Param& p, int32_t& count, std::string_view text, int32_t start,
                    int32_t end) {
  TextBuffer buf;
  uint32_t subMode = kUpper;
  auto nextTwoAre = [&](int32_t i, uint32_t flag) {
    return (getTextTypeAndValue(text, end, i + 1) & flag) &&
           (getTextTypeAndValue(text, end, i + 2) & flag);
  };
  for (int32_t i = start; i < end; ++i) {
    if (!fits(count, buf.codewords())) return false;
    const uint32_t v = getTextTypeAndValue(text, end, i);
    const auto value = uint16_t(v & 0xff);
    if (v & subMode) {
      buf.add(value);
      continue;
    }
    if (v & kByte) {
      // The shift must start a codeword; a ps (al in punctuation) fills the odd half.
      if (buf.length % 2) {
        buf.add(kPunctShiftOrAlpha);
        if (subMode == kPunct) subMode = kUpper;
      }
      buf.add(kByteShift, value);
      buf.extra += 2;
      continue;
    }
    if (subMode == kPunct) { // only al leaves punctuation
      buf.add(kPunctShiftOrAlpha);
      subMode = kUpper;
      if (v & subMode) {
        buf.add(value);
        continue;
      }
    }
    if (subMode == kUpper || subMode == kLower) {
      if (subMode == kUpper && (v & kLower)) {
        buf.add(kToLowerOrAlphaShift, value);
        subMode = kLower;
      } else if (v & kUpper) { // in lower case
        if (nextTwoAre(i, kUpper)) {
          buf.add(kToMixedOrAlpha, kToMixedOrAlpha, value);
          subMode = kUpper;
        } else {
          buf.add(kToLowerOrAlphaShift, value);
        }
      } else if (v & kMixed) {
        buf.add(kToMixedOrAlpha, value);
        subMode = kMixed;
      } else if (nextTwoAre(i, kPunct)) {
        buf.add(kToMixedOrAlpha, kToPunct, value);
        subMode = kPunct;
      } else {
        buf.add(kPunctShiftOrAlpha, value);
      }
    } else { // mixed
      if (v & kLower) {
        buf.add(kToLowerOrAlphaShift, value);
        subMode = kLower;
      } else if (v & kUpper) {
        buf.add(kToMixedOrAlpha, value);
        subMode = kUpper;
      } else if (nextTwoAre(i, kPunct)) {
        buf.add(kToPunct, value);
        subMode = kPunct;
      } else {
        buf.add(kPunctShiftOrAlpha, value);
      }
    }
  }
  if (buf.length % 2) buf.add(kPunctShiftOrAlpha);
  if (!fits(count, buf.codewords())) return false;
  for (size_t i = 0; i < buf.length; i += 2) {
    if (buf.values[i] >= 30) { // byte shift: 913 and the byte, one codeword each
      p.codewords[size_t(count++)] = buf.values[i];
      p.codewords[size_t(count++)] = buf.values[i + 1];
    } else {
      p.codewords[size_t(count++)] = buf.values[i] * 30 + buf.values[i + 1];
    }
  }
  return true;
}

// Encodes the digits text[start, end) in groups of up to 44, each as the number "1" followed by
// its digits, in base 900 (most significant codeword first).
bool numericCompaction(PDF417Param& p, int32_t& count, std::string_view text, int32_t start,
                       int32_t end) {
  constexpr int32_t kGroupDigits = 44;
  const int32_t digits = end - start;
  const int32_t rest = digits % kGroupDigits;
  const int32_t needed = digits / kGroupDigits * 15 + (rest ? rest / 3 + 1 : 0);
  if (!fits(count, needed)) return false;
  const auto digitsValue = [&](int32_t from, int32_t to) {
    int32_t v = 0;
    for (int32_t i = from; i < to; ++i)
      v = v * 10 + (text[size_t(i)] - '0');
    return v;
  };
  for (int32_t group = start; group < end; group += kGroupDigits) {
    const int32_t groupEnd = std::min(end, group + kGroupDigits);
    const int32_t size = (groupEnd - group) / 3 + 1;
    int32_t* const out = &p.codewords[size_t(count)];
    std::fill(out, out + size, 0);
    // The leading 1 and the first 0-2 digits fit one codeword (at most 199); the rest is
    // multiplied in three digits at a time, carries staying below 1000.
    const int32_t head = group + (groupEnd - group) % 3;
    const int32_t headDigits = head - group;
    out[size - 1] = (headDigits == 0 ? 1 : headDigits == 1 ? 10 : 100) + digitsValue(group, head);
    int32_t used = 1; // codewords holding the number so far, counted from the last
    for (int32_t i = head; i < groupEnd; i += 3) {
      int32_t carry = digitsValue(i, i + 3);
      for (int32_t k = size - 1; k >= size - used; --k) {
        const int32_t v = out[k] * 1000 + carry;
        out[k] = v % 900;
        carry = v / 900;
      }
      if (carry) out[size - 1 - used++] = carry;
    }
    count += size;
  }
  return true;
}

// Six bytes as a 48-bit number give five codewords in base 900; the last 0-5 bytes are one
// codeword each.
bool byteCompaction(PDF417Param& p, int32_t& count, std::string_view text, int32_t start,
                    int32_t end) {
  const int32_t n = end - start;
  if (!fits(count, n / 6 * 5 + n % 6)) return false;
  int32_t i = start;
  for (; end - i >= 6; i += 6) {
    uint64_t v = 0;
    for (int32_t k = 0; k < 6; ++k)
      v = v << 8 | uint8_t(text[size_t(i + k)]);
    for (int32_t k = 4; k >= 0; --k, v /= 900)
      p.codewords[size_t(count + k)] = int32_t(v % 900);
    count += 5;
  }
  for (; i < end; ++i)
    p.codewords[size_t(count++)] = uint8_t(text[size_t(i)]);
  return true;
}

} // namespace

bool compactText(PDF417Param& p, std::string_view text) {
  SegmentList list;
  list.items.reserve(20);
  segmentText(list, text);
  mergeSegments(list, text);
  int32_t count = 1; // codewords[0] is the length descriptor
  for (int32_t s = list.first; s != kNone; s = list[s].next) {
    const Segment& seg = list[s];
    bool ok = false;
    if (seg.type == 'T') {
      if (s != list.first) p.codewords[size_t(count++)] = kTextLatch; // text is the initial mode
      ok = textCompaction(p, count, text, seg.start, seg.end);
    } else if (seg.type == 'N') {
      p.codewords[size_t(count++)] = kNumericLatch;
      ok = numericCompaction(p, count, text, seg.start, seg.end);
    } else {
      p.codewords[size_t(count++)] = seg.length() % 6 ? kByteLatch : kByteLatch6;
      ok = byteCompaction(p, count, text, seg.start, seg.end);
    }
    // After a successful compaction count <= 926, so the next mode codeword stays inside the
    // array even when its compaction then fails.
    if (!ok) return false;
  }
  p.lenCodewords = p.codewords[0] = count;
  return true;
}

} // namespace pdf417
