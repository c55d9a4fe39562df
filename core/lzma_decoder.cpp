// Raw LZMA1 decoding: range decoder, the 12-state machine, literal, length and distance coders.
// Kept small for the setup program: one allocation (the probabilities), no separate dictionary.
#include "core/lzma_decoder.h"

#include <new>

namespace vexbane {
namespace {

using Prob = uint16_t;

constexpr unsigned kProbBits = 11;
constexpr Prob kProbInit = 1u << (kProbBits - 1);
constexpr unsigned kMoveBits = 5;
constexpr uint32_t kTopValue = 1u << 24;

constexpr unsigned kStates = 12;
constexpr unsigned kPosStatesMax = 16;  // pb <= 4
constexpr unsigned kLiteralStates = 7;  // states below this one follow a literal
constexpr unsigned kLenToPosStates = 4;
constexpr unsigned kPosSlotBits = 6;
constexpr unsigned kStartPosModelIndex = 4;
constexpr unsigned kEndPosModelIndex = 14;
constexpr unsigned kFullDistances = 1u << (kEndPosModelIndex >> 1);
constexpr unsigned kAlignBits = 4;
constexpr unsigned kMatchMinLen = 2;
constexpr unsigned kLiteralCoderSize = 0x300;
constexpr uint32_t kMinDictionary = 1u << 12;
constexpr uint32_t kEndMarkerDistance = 0xFFFFFFFFu;

// Lengths 2..273: a choice bit, then 3 bits (low, per position state), 3 bits (mid) or 8 (high).
struct LengthProbs {
  Prob choice;
  Prob choice2;
  Prob low[kPosStatesMax][1u << 3];
  Prob mid[kPosStatesMax][1u << 3];
  Prob high[1u << 8];
};

// Every probability but the literal coders, which follow this block in the same allocation.
struct Probs {
  Prob isMatch[kStates][kPosStatesMax];
  Prob isRep[kStates];
  Prob isRepG0[kStates];
  Prob isRepG1[kStates];
  Prob isRepG2[kStates];
  Prob isRep0Long[kStates][kPosStatesMax];
  Prob posSlot[kLenToPosStates][1u << kPosSlotBits];
  Prob posSpecial[1 + kFullDistances - kEndPosModelIndex];
  Prob align[1u << kAlignBits];
  LengthProbs matchLength;
  LengthProbs repLength;
};

static_assert(sizeof(Probs) % sizeof(Prob) == 0, "the literal coders follow without a gap");

class RangeDecoder {
 public:
  RangeDecoder(const unsigned char* in, size_t size) : m_in(in), m_size(size) {}

  // The stream opens with a 0 byte and the first four bytes of the code.
  bool Init() {
    if (NextByte() != 0) return false;
    for (int i = 0; i < 4; ++i) m_code = (m_code << 8) | NextByte();
    return m_code != m_range;
  }

  unsigned Bit(Prob& p) {
    const uint32_t bound = (m_range >> kProbBits) * p;
    unsigned bit;
    if (m_code < bound) {
      m_range = bound;
      p = static_cast<Prob>(p + (((1u << kProbBits) - p) >> kMoveBits));
      bit = 0;
    } else {
      m_range -= bound;
      m_code -= bound;
      p = static_cast<Prob>(p - (p >> kMoveBits));
      bit = 1;
    }
    Normalize();
    return bit;
  }

  // `bits` bits at probability one half, highest first.
  uint32_t Direct(unsigned bits) {
    uint32_t value = 0;
    while (bits--) {
      m_range >>= 1;
      unsigned bit = 0;
      if (m_code >= m_range) {
        m_code -= m_range;
        bit = 1;
      }
      value = (value << 1) | bit;
      Normalize();
    }
    return value;
  }

  // A symbol of `bits` bits, highest first, from a tree of 2^bits probabilities.
  unsigned Tree(Prob* probs, unsigned bits) {
    unsigned m = 1;
    for (unsigned i = 0; i < bits; ++i) m = (m << 1) | Bit(probs[m]);
    return m - (1u << bits);
  }

  // The same, lowest bit first.
  unsigned ReverseTree(Prob* probs, unsigned bits) {
    unsigned m = 1;
    unsigned symbol = 0;
    for (unsigned i = 0; i < bits; ++i) {
      const unsigned bit = Bit(probs[m]);
      m = (m << 1) | bit;
      symbol |= bit << i;
    }
    return symbol;
  }

  // Once the input has run out, every further byte reads as 0 and the stream is refused.
  bool InputEnded() const { return m_ended; }
  size_t Used() const { return m_pos; }

 private:
  unsigned NextByte() {
    if (m_pos < m_size) return m_in[m_pos++];
    m_ended = true;
    return 0;
  }
  void Normalize() {
    if (m_range < kTopValue) {
      m_range <<= 8;
      m_code = (m_code << 8) | NextByte();
    }
  }

  const unsigned char* m_in;
  size_t m_size;
  size_t m_pos = 0;
  uint32_t m_range = 0xFFFFFFFFu;
  uint32_t m_code = 0;
  bool m_ended = false;
};

unsigned DecodeLength(RangeDecoder& rc, LengthProbs& p, unsigned posState) {
  if (rc.Bit(p.choice) == 0) return rc.Tree(p.low[posState], 3);
  if (rc.Bit(p.choice2) == 0) return 8 + rc.Tree(p.mid[posState], 3);
  return 16 + rc.Tree(p.high, 8);
}

// The distance minus one; `length` counts from 0 (a match of 2 bytes is 0).
uint32_t DecodeDistance(RangeDecoder& rc, Probs& p, unsigned length) {
  const unsigned lenState = length < kLenToPosStates ? length : kLenToPosStates - 1;
  const unsigned slot = rc.Tree(p.posSlot[lenState], kPosSlotBits);
  if (slot < kStartPosModelIndex) return slot;
  const unsigned directBits = (slot >> 1) - 1;
  uint32_t distance = (2u | (slot & 1u)) << directBits;
  if (slot < kEndPosModelIndex)
    return distance + rc.ReverseTree(p.posSpecial + distance - slot, directBits);
  distance += rc.Direct(directBits - kAlignBits) << kAlignBits;
  return distance + rc.ReverseTree(p.align, kAlignBits);
}

struct Properties {
  unsigned lc, lp, pb;
};

bool SplitProperties(unsigned char byte, Properties& props) {
  unsigned d = byte;
  if (d >= 9 * 5 * 5) return false;
  props.lc = d % 9;
  d /= 9;
  props.lp = d % 5;
  props.pb = d / 5;
  return true;
}

size_t TableEntries(const Properties& props) {
  return sizeof(Probs) / sizeof(Prob) + (size_t{kLiteralCoderSize} << (props.lc + props.lp));
}

// Owns the probability table for the length of one decoding.
class ProbabilityTable {
 public:
  explicit ProbabilityTable(size_t entries) : m_prob(new (std::nothrow) Prob[entries]) {
    if (m_prob)
      for (size_t i = 0; i < entries; ++i) m_prob[i] = kProbInit;
  }
  ~ProbabilityTable() { delete[] m_prob; }
  ProbabilityTable(const ProbabilityTable&) = delete;
  ProbabilityTable& operator=(const ProbabilityTable&) = delete;

  explicit operator bool() const { return m_prob != nullptr; }
  Probs& Fixed() { return *reinterpret_cast<Probs*>(m_prob); }
  Prob* Literals() { return m_prob + sizeof(Probs) / sizeof(Prob); }

 private:
  Prob* m_prob;
};

unsigned NextStateAfterLiteral(unsigned s) { return s < 4 ? 0 : s < 10 ? s - 3 : s - 6; }

}  // namespace

size_t LzmaProbabilityTableBytes(unsigned char properties) {
  Properties props;
  if (!SplitProperties(properties, props) || props.lp > 4 || props.pb > 4) return 0;
  return TableEntries(props) * sizeof(Prob);
}

LzmaStatus LzmaDecode(unsigned char properties, uint32_t dictionarySize, const unsigned char* in,
                      size_t inSize, unsigned char* out, size_t outSize, size_t* inUsed) {
  Properties props;
  if (!SplitProperties(properties, props) || props.lp > 4 || props.pb > 4)
    return LzmaStatus::BadProperties;
  if (dictionarySize < kMinDictionary) dictionarySize = kMinDictionary;
  ProbabilityTable table(TableEntries(props));
  if (!table) return LzmaStatus::NoMemory;
  Probs& p = table.Fixed();
  Prob* const literals = table.Literals();

  RangeDecoder rc(in, inSize);
  if (!rc.Init()) return rc.InputEnded() ? LzmaStatus::InputEnds : LzmaStatus::Damaged;

  const unsigned pbMask = (1u << props.pb) - 1;
  const unsigned lpMask = (1u << props.lp) - 1;
  unsigned state = 0;
  uint32_t rep0 = 0, rep1 = 0, rep2 = 0, rep3 = 0;
  size_t pos = 0;
  bool ended = false;
  // Past `outSize` only an end marker may follow, and only if input is left to hold one.
  while (pos < outSize || (!ended && rc.Used() < inSize)) {
    const unsigned posState = static_cast<unsigned>(pos) & pbMask;
    if (rc.Bit(p.isMatch[state][posState]) == 0) {
      if (pos >= outSize) return LzmaStatus::Damaged;
      const unsigned prev = pos > 0 ? out[pos - 1] : 0;
      Prob* const coder = literals + kLiteralCoderSize * (((static_cast<unsigned>(pos) & lpMask)
                                                           << props.lc) + (prev >> (8 - props.lc)));
      unsigned symbol = 1;
      if (state >= kLiteralStates) {
        // After a match the byte at rep0 predicts this one until the first differing bit.
        if (rep0 >= pos) return LzmaStatus::Damaged;
        unsigned matchByte = out[pos - rep0 - 1];
        do {
          const unsigned matchBit = (matchByte >> 7) & 1;
          matchByte <<= 1;
          const unsigned bit = rc.Bit(coder[((1 + matchBit) << 8) + symbol]);
          symbol = (symbol << 1) | bit;
          if (bit != matchBit) break;
        } while (symbol < 0x100);
      }
      while (symbol < 0x100) symbol = (symbol << 1) | rc.Bit(coder[symbol]);
      out[pos++] = static_cast<unsigned char>(symbol);
      state = NextStateAfterLiteral(state);
    } else {
      unsigned length;
      if (rc.Bit(p.isRep[state]) != 0) {
        if (pos == 0 || pos >= outSize) return LzmaStatus::Damaged;
        if (rc.Bit(p.isRepG0[state]) == 0) {
          if (rc.Bit(p.isRep0Long[state][posState]) == 0) {
            // One byte from rep0.
            if (rep0 >= pos) return LzmaStatus::Damaged;
            state = state < kLiteralStates ? 9 : 11;
            out[pos] = out[pos - rep0 - 1];
            ++pos;
            if (rc.InputEnded()) return LzmaStatus::InputEnds;
            continue;
          }
        } else {
          uint32_t distance;
          if (rc.Bit(p.isRepG1[state]) == 0) {
            distance = rep1;
          } else {
            if (rc.Bit(p.isRepG2[state]) == 0) {
              distance = rep2;
            } else {
              distance = rep3;
              rep3 = rep2;
            }
            rep2 = rep1;
          }
          rep1 = rep0;
          rep0 = distance;
        }
        length = DecodeLength(rc, p.repLength, posState);
        state = state < kLiteralStates ? 8 : 11;
      } else {
        rep3 = rep2;
        rep2 = rep1;
        rep1 = rep0;
        length = DecodeLength(rc, p.matchLength, posState);
        state = state < kLiteralStates ? 7 : 10;
        rep0 = DecodeDistance(rc, p, length);
        if (rep0 == kEndMarkerDistance) {
          if (pos != outSize) return rc.InputEnded() ? LzmaStatus::InputEnds : LzmaStatus::Damaged;
          ended = true;
          break;
        }
        if (pos >= outSize) return LzmaStatus::Damaged;
      }
      length += kMatchMinLen;
      if (rep0 >= pos || rep0 >= dictionarySize || length > outSize - pos) {
        return rc.InputEnded() ? LzmaStatus::InputEnds : LzmaStatus::Damaged;
      }
      const unsigned char* from = out + pos - rep0 - 1;
      for (unsigned i = 0; i < length; ++i) out[pos + i] = from[i];
      pos += length;
    }
    if (rc.InputEnded()) return LzmaStatus::InputEnds;
  }
  if (rc.InputEnded()) return LzmaStatus::InputEnds;
  if (inUsed) *inUsed = rc.Used();
  return LzmaStatus::Ok;
}

}  // namespace vexbane
