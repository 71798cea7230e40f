#include "io/deflate_blocks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace veltrane::io {
namespace {

static_assert(std::endian::native == std::endian::little, "the bit reader loads little-endian words");

constexpr unsigned kMaxCodeBits = 15;
constexpr unsigned kTableBits = 10; // codes up to this long are decoded with one table look-up

// Reads bits least significant first, as deflate packs them, from a buffer of up to 64 bits. Past the
// end it reads zeros; overran() tells once it has gone far enough past to stop.
class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> bytes)
        : begin_(bytes.data()), next_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    // At least 56 bits in the buffer: enough for a length code, a distance code and their extra bits.
    void refill() {
        if (end_ - next_ >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, next_, sizeof word);
            buffer_ |= word << available_;
            // Whole bytes only; the bits of the next byte above them are read again next time.
            next_ += (63 - available_) >> 3;
            available_ |= 56;
            return;
        }
        for (; available_ <= 56; available_ += 8) {
            if (next_ < end_)
                buffer_ |= std::uint64_t{*next_++} << available_;
            else
                ++bytesPastEnd_;
        }
    }
    std::uint32_t peek(unsigned count) const { return static_cast<std::uint32_t>(buffer_ & ((std::uint64_t{1} << count) - 1)); }
    void skip(unsigned count) {
        buffer_ >>= count;
        available_ -= count;
    }
    std::uint32_t take(unsigned count) {
        refill();
        const std::uint32_t bits = peek(count);
        skip(count);
        return bits;
    }
    void alignToByte() { skip(available_ % 8); }
    // Skips whole bytes; the reader must be on a byte boundary.
    void skipBytes(std::size_t count) {
        const std::size_t buffered = available_ / 8;
        if (count < buffered) {
            skip(static_cast<unsigned>(count * 8));
            return;
        }
        count -= buffered;
        buffer_ = 0;
        available_ = 0;
        const auto left = static_cast<std::size_t>(end_ - next_);
        next_ += std::min(count, left);
        bytesPastEnd_ += count - std::min(count, left);
    }
    std::size_t position() const {
        return (static_cast<std::size_t>(next_ - begin_) + bytesPastEnd_) * 8 - available_;
    }
    // Past the end by more than a refill reads ahead: what is read now is no longer the stream's.
    bool overran() const { return bytesPastEnd_ > 8; }
    bool within() const { return position() <= static_cast<std::size_t>(end_ - begin_) * 8; }

private:
    const std::uint8_t* begin_;
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t buffer_ = 0;
    unsigned available_ = 0;
    std::size_t bytesPastEnd_ = 0;
};

std::uint32_t reversed(std::uint32_t code, unsigned bits) {
    std::uint32_t result = 0;
    for (unsigned bit = 0; bit < bits; ++bit)
        result = result << 1 | ((code >> bit) & 1);
    return result;
}

// A canonical Huffman code given by its code lengths, each symbol followed by its number of extra bits:
// short codes through a table indexed by the bits as read, longer ones walked bit by bit.
class HuffmanCode {
public:
    // False when the lengths describe more codes than there are.
    bool build(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> extraBits) {
        extraBits_ = extraBits;
        counts_.fill(0);
        for (const std::uint8_t length : lengths)
            ++counts_[length];
        counts_[0] = 0;
        int left = 1;
        for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits) {
            left = 2 * left - counts_[bits];
            if (left < 0)
                return false;
        }
        std::array<std::uint16_t, kMaxCodeBits + 2> next{};
        for (unsigned bits = 1; bits <= kMaxCodeBits; ++bits)
            next[bits + 1] = static_cast<std::uint16_t>(next[bits] + counts_[bits]);
        for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol)
            if (lengths[symbol] != 0)
                symbols_[next[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);

        table_.fill(0);
        std::uint32_t code = 0;
        std::size_t index = 0;
        for (unsigned bits = 1; bits <= kTableBits; ++bits, code <<= 1)
            for (unsigned n = 0; n < counts_[bits]; ++n, ++index, ++code) {
                // Deflate sends a code's most significant bit first.
                const std::uint32_t read = reversed(code, bits);
                const auto skipped = bits + extraBits_[symbols_[index]];
                for (std::uint32_t entry = read; entry < table_.size(); entry += 1u << bits)
                    table_[entry] = static_cast<std::uint16_t>(symbols_[index] << 5 | skipped);
            }
        return true;
    }

    // The next symbol, with its extra bits skipped, or -1 when the bits are no code; the reader holds
    // at least 15 bits and the extra bits.
    int decode(BitReader& in) const {
        if (const std::uint16_t entry = table_[in.peek(kTableBits)]; entry != 0) {
            in.skip(entry & 31);
            return entry >> 5;
        }
        const std::uint32_t bits = in.peek(kMaxCodeBits);
        int code = 0, first = 0, index = 0;
        for (unsigned length = 1; length <= kMaxCodeBits; ++length) {
            code |= static_cast<int>((bits >> (length - 1)) & 1);
            const int count = counts_[length];
            if (code - first < count) {
                const std::uint16_t symbol = symbols_[static_cast<std::size_t>(index + code - first)];
                in.skip(length + extraBits_[symbol]);
                return symbol;
            }
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    // symbol << 5 | the bits its code and extra bits take; 0 for a longer code
    std::array<std::uint16_t, 1u << kTableBits> table_{};
    std::array<std::uint16_t, kMaxCodeBits + 1> counts_{};
    std::array<std::uint16_t, 288> symbols_{}; // by length, then by symbol
    std::span<const std::uint8_t> extraBits_;
};

// The extra bits after each literal/length symbol (lengths 257 to 285) and after each distance symbol.
constexpr auto kLiteralExtraBits = [] {
    std::array<std::uint8_t, 288> extra{};
    constexpr std::uint8_t kLengths[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    std::copy(std::begin(kLengths), std::end(kLengths), extra.begin() + 257);
    return extra;
}();
constexpr std::array<std::uint8_t, 30> kDistanceExtraBits = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,
                                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::array<std::uint8_t, 19> kNoExtraBits{};

// Reads the codes of a compressed block up to and including its end-of-block code. The reader is
// copied in and out, so that it stays in registers.
bool skipCodes(BitReader& reader, const HuffmanCode& literals, const HuffmanCode& distances) {
    BitReader in = reader;
    const auto done = [&](bool read) {
        reader = in;
        return read;
    };
    while (!in.overran()) {
        in.refill();
        const int symbol = literals.decode(in);
        if (symbol < 256) {
            if (symbol < 0)
                return done(false);
            continue;
        }
        if (symbol == 256)
            return done(true);
        if (symbol > 285 || distances.decode(in) < 0)
            return done(false);
    }
    return done(false);
}

// The literal/length and distance codes of a dynamic block, from its header.
bool readDynamicCodes(BitReader& in, HuffmanCode& literals, HuffmanCode& distances) {
    const unsigned literalCount = in.take(5) + 257;
    const unsigned distanceCount = in.take(5) + 1;
    const unsigned lengthCodeCount = in.take(4) + 4;
    constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 19> lengthCodeLengths{};
    for (unsigned i = 0; i < lengthCodeCount; ++i)
        lengthCodeLengths[kOrder[i]] = static_cast<std::uint8_t>(in.take(3));
    HuffmanCode lengthCode;
    if (literalCount > 286 || distanceCount > 30 || !lengthCode.build(lengthCodeLengths, kNoExtraBits))
        return false;

    std::array<std::uint8_t, 286 + 30> lengths{};
    const unsigned total = literalCount + distanceCount;
    for (unsigned i = 0; i < total;) {
        in.refill();
        const int symbol = lengthCode.decode(in);
        if (symbol < 0 || in.overran())
            return false;
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        if (symbol == 16 && i == 0)
            return false;
        const std::uint8_t repeated = symbol == 16 ? lengths[i - 1] : 0;
        const unsigned times = symbol == 16 ? 3 + in.take(2) : symbol == 17 ? 3 + in.take(3) : 11 + in.take(7);
        if (i + times > total)
            return false;
        std::fill_n(lengths.begin() + i, times, repeated);
        i += times;
    }
    return literals.build(std::span(lengths).first(literalCount), kLiteralExtraBits) &&
           distances.build(std::span(lengths).subspan(literalCount, distanceCount), kDistanceExtraBits);
}

struct FixedCodes {
    HuffmanCode literals;
    HuffmanCode distances;
};

const FixedCodes& fixedCodes() {
    static const FixedCodes codes = [] {
        FixedCodes fixed;
        std::array<std::uint8_t, 288> literalLengths{};
        std::fill_n(literalLengths.begin(), 144, 8);
        std::fill_n(literalLengths.begin() + 144, 112, 9);
        std::fill_n(literalLengths.begin() + 256, 24, 7);
        std::fill_n(literalLengths.begin() + 280, 8, 8);
        std::array<std::uint8_t, 30> distanceLengths{};
        distanceLengths.fill(5);
        fixed.literals.build(literalLengths, kLiteralExtraBits);
        fixed.distances.build(distanceLengths, kDistanceExtraBits);
        return fixed;
    }();
    return codes;
}

} // namespace

std::optional<FinalBlock> findFinalBlock(std::span<const std::uint8_t> stream) {
    BitReader in(stream);
    HuffmanCode literals;
    HuffmanCode distances;
    while (true) {
        const std::size_t header = in.position();
        const bool last = in.take(1) != 0;
        const unsigned type = in.take(2);
        bool read = false;
        if (type == 0) {
            in.alignToByte();
            const std::uint32_t length = in.take(16);
            read = (in.take(16) ^ length) == 0xFFFF;
            in.skipBytes(length);
        } else if (type == 1) {
            read = skipCodes(in, fixedCodes().literals, fixedCodes().distances);
        } else if (type == 2) {
            read = readDynamicCodes(in, literals, distances) && skipCodes(in, literals, distances);
        }
        if (!read || !in.within())
            return std::nullopt;
        if (last)
            return FinalBlock{header, in.position()};
    }
}

} // namespace veltrane::io
