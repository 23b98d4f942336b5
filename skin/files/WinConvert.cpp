#include "WinConvert.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>
#include <vector>

namespace vardo {

namespace {

// The constants fix the format.
constexpr int N = 4096;                      // ring buffer size
constexpr int F = 60;                        // longest match
constexpr int THRESHOLD = 2;                 // shortest match is THRESHOLD + 1
constexpr int N_CHAR = 256 - THRESHOLD + F;  // 256 literals + 58 match lengths
constexpr int T = 2 * N_CHAR - 1;            // nodes of the Huffman tree
constexpr int R = T - 1;                     // root node
constexpr unsigned MAX_FREQ = 0x8000;        // root count at which the tree is rebuilt
constexpr int kInitialSpaces = N - F;        // ring positions that start as spaces
constexpr int kMaxDistance = N - F;          // the encoder's farthest match, in bytes back
constexpr unsigned kPrefixBits = 6;          // code bits the decoder takes in one step

// Length and left-aligned 8-bit code of the upper 6 bits of a match position: a canonical prefix
// code, 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7 and 16 of 8.
struct PositionCode {
    std::array<std::uint8_t, 64> length{};
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 256> upperOfByte{};   // decoding: upper 6 bits for a leading byte
    std::array<std::uint8_t, 256> lengthOfByte{};  // decoding: that code's length
};

constexpr PositionCode MakePositionCode() {
    PositionCode table;
    constexpr std::array<std::pair<int, int>, 6> kCountOfLength = {
        {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}}};
    int upper = 0;
    int code = 0;
    for (const auto& [count, length] : kCountOfLength) {
        for (int i = 0; i < count; ++i, ++upper) {
            table.length[upper] = static_cast<std::uint8_t>(length);
            table.code[upper] = static_cast<std::uint8_t>(code);
            for (int b = code; b < code + (1 << (8 - length)); ++b) {
                table.upperOfByte[b] = static_cast<std::uint8_t>(upper);
                table.lengthOfByte[b] = static_cast<std::uint8_t>(length);
            }
            code += 1 << (8 - length);
        }
    }
    return table;
}

constexpr PositionCode kPositionCode = MakePositionCode();

// Bits of the input, most significant first, kept left-aligned in a 64-bit buffer. Past the end
// of the input every byte reads as 0.
class BitReader {
  public:
    explicit BitReader(std::string_view input)
        : next_(reinterpret_cast<const std::uint8_t*>(input.data())), end_(next_ + input.size()) {}

    // Tops the buffer up to at least 56 valid bits.
    void Refill() {
        if (end_ - next_ >= 8) {
            std::uint64_t word;
            std::memcpy(&word, next_, 8);
            if constexpr (std::endian::native == std::endian::little)
                word = __builtin_bswap64(word);
            buffer_ |= word >> count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56) {
            std::uint64_t byte = 0;
            if (next_ < end_) {
                byte = *next_++;
            } else {
                ++zeroBytes_;
            }
            buffer_ |= byte << (56 - count_);
            count_ += 8;
        }
    }

    // Whether bits taken so far went past the end of the input: the zero bytes appended sit
    // behind every input bit, so some were taken once fewer bits remain than they hold.
    bool TookPastEnd() const { return zeroBytes_ * 8 > static_cast<std::uint64_t>(count_); }

    void RefillIfBelow(int bits) {
        if (count_ < bits) Refill();
    }

    // The next bits (1 to 56 of them, after a refill) without taking them.
    unsigned Peek(int bits) const { return static_cast<unsigned>(buffer_ >> (64 - bits)); }

    unsigned TakeBit() {
        const unsigned bit = static_cast<unsigned>(buffer_ >> 63);
        buffer_ <<= 1;
        --count_;
        return bit;
    }

    void Skip(int bits) {
        buffer_ <<= bits;
        count_ -= bits;
    }

  private:
    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
    std::uint64_t zeroBytes_ = 0;  // appended past the end of the input
};

// The adaptive Huffman tree shared by the decoder and the encoder. Nodes are kept in order of
// count; a node's two children sit side by side at son[node] and son[node] + 1; a leaf holds its
// symbol + T in son.
class AdaptiveTree {
  public:
    AdaptiveTree() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq_[i] = 1;
            son_[i] = static_cast<std::uint16_t>(i + T);
            prnt_[i + T] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
            son_[j] = static_cast<std::uint16_t>(i);
            prnt_[i] = prnt_[i + 1] = static_cast<std::uint16_t>(j);
        }
        freq_[T] = 0xFFFF;  // sentinel that stops the search for a swap partner
        prnt_[R] = 0;
    }

    // Counts one more occurrence of symbol, keeping the nodes ordered by count.
    void Update(int symbol) {
        if (freq_[R] == MAX_FREQ) Rebuild();
        Climb(prnt_[symbol + T]);
    }

    // Takes bits from the root down to a leaf and counts the symbol found there, as Update does.
    // The bit buffer must hold at least kPrefixBits bits.
    int DecodeAndUpdate(BitReader& bits) {
        const unsigned prefix = bits.Peek(kPrefixBits);
        if (stalePrefixes_ >> prefix & 1) WalkPrefix(prefix);
        const PrefixEntry& entry = prefixTable_[prefix];
        bits.Skip(entry.bits);

        // The nodes passed on the way down, so that the count update climbs back along them
        // without a dependent parent lookup per level. Counts up to 0x8000 keep the tree far
        // shallower than the path can hold; a deeper walk climbs through the parent links.
        std::array<std::uint16_t, 48> path;
        std::copy(entry.path.begin(), entry.path.end(), path.begin());
        int depth = entry.bits + 1;
        unsigned c = son_[path[depth - 1]];
        while (c < T) {
            bits.RefillIfBelow(1);
            c += bits.TakeBit();
            if (depth < static_cast<int>(path.size())) path[depth] = static_cast<std::uint16_t>(c);
            ++depth;
            c = son_[c];
        }
        const int symbol = static_cast<int>(c) - T;
        if (freq_[R] == MAX_FREQ) {
            Rebuild();
            Climb(prnt_[symbol + T]);
        } else if (depth > static_cast<int>(path.size())) {
            Climb(prnt_[symbol + T]);
        } else {
            ClimbPath(path.data(), depth);
        }
        return symbol;
    }

    // The symbol's code: its bits from the root's child (most significant) down to the leaf.
    std::pair<std::uint64_t, int> CodeOf(int symbol) const {
        std::uint64_t code = 0;
        int length = 0;
        for (unsigned k = prnt_[symbol + T]; k != R; k = prnt_[k]) {
            code |= std::uint64_t{k & 1u} << length;
            ++length;
        }
        return {code, length};
    }

  private:
    // Counts one more for node c and its ancestors up to the root.
    void Climb(unsigned c) {
        do {
            if (!CountKeepsOrder(c)) c = MoveUp(c);
        } while ((c = prnt_[c]) != 0);
    }

    // Climbs along the nodes path[depth - 1] up to path[0] (the root); once a node has moved,
    // on through the parent links.
    void ClimbPath(const std::uint16_t* path, int depth) {
        for (int i = depth - 1; i >= 0; --i) {
            const unsigned c = path[i];
            if (!CountKeepsOrder(c)) {
                if (const unsigned parent = prnt_[MoveUp(c)]; parent != 0) Climb(parent);
                return;
            }
        }
    }

    // Adds one to node c's count; false when it now exceeds the next node's.
    bool CountKeepsOrder(unsigned c) { return ++freq_[c] <= freq_[c + 1]; }

    // Swaps node c, whose count has just exceeded the next node's, with the last node of a
    // lower count (counts and subtrees); returns where c's subtree is now.
    [[gnu::noinline]] unsigned MoveUp(unsigned c) {
        const unsigned k = freq_[c];
        // Counts rise from c + 1 to the sentinel: the partner is usually close, but many equal
        // counts (early in a stream, after a rebuild) call for a binary search.
        unsigned l = c + 1;
        while (l < c + 8 && k > freq_[l + 1]) ++l;
        if (k > freq_[l + 1]) {
            l = static_cast<unsigned>(
                    std::lower_bound(freq_.begin() + l + 1, freq_.begin() + T + 1, k) -
                    freq_.begin()) -
                1;
        }
        freq_[c] = freq_[l];
        freq_[l] = static_cast<std::uint16_t>(k);

        const unsigned i = son_[c];
        prnt_[i] = static_cast<std::uint16_t>(l);
        if (i < T) prnt_[i + 1] = static_cast<std::uint16_t>(l);
        const unsigned j = son_[l];
        son_[l] = static_cast<std::uint16_t>(i);
        prnt_[j] = static_cast<std::uint16_t>(c);
        if (j < T) prnt_[j + 1] = static_cast<std::uint16_t>(c);
        son_[c] = static_cast<std::uint16_t>(j);
        if (onPrefixPath_[c]) MarkPrefixesStale(c);
        if (onPrefixPath_[l]) MarkPrefixesStale(l);
        return l;
    }

    // Halves every leaf's count and builds the tree anew from the leaves.
    void Rebuild() {
        stalePrefixes_ = kAllPrefixes;
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son_[i] >= T) {
                freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
                son_[j] = son_[i];
                ++j;
            }
        }
        for (int i = 0, node = N_CHAR; node < T; i += 2, ++node) {
            const unsigned f = freq_[i] + freq_[i + 1];
            int k = node - 1;
            while (f < freq_[k]) --k;
            ++k;
            std::copy_backward(freq_.begin() + k, freq_.begin() + node, freq_.begin() + node + 1);
            std::copy_backward(son_.begin() + k, son_.begin() + node, son_.begin() + node + 1);
            freq_[k] = static_cast<std::uint16_t>(f);
            son_[k] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            const unsigned k = son_[i];
            prnt_[k] = static_cast<std::uint16_t>(i);
            if (k < T) prnt_[k + 1] = static_cast<std::uint16_t>(i);
        }
    }

    // The walk for every kPrefixBits-bit prefix of a code, so that decoding takes the top of the
    // tree in one step. An entry stays right while the nodes whose children it passed through
    // keep them; when such a node's children change, the entries through it are marked stale
    // and walked again when next used.
    static constexpr std::uint64_t kAllPrefixes = ~std::uint64_t{0};
    static_assert(kPrefixBits == 6, "one bit of stalePrefixes_ per entry");

    // Marks the entries that passed through node (the range may be out of date, which costs
    // only time: a stale entry is walked from the root).
    void MarkPrefixesStale(unsigned node) {
        const unsigned depth = prefixDepth_[node];
        const std::uint64_t range =
            depth == 0 ? kAllPrefixes : ((std::uint64_t{1} << (64 >> depth)) - 1);
        stalePrefixes_ |= range << prefixFirst_[node];
    }

    void WalkPrefix(unsigned prefix) {
        PrefixEntry& entry = prefixTable_[prefix];
        entry.path.fill(R);
        unsigned taken = 0;
        unsigned node = R;
        while (taken < kPrefixBits && son_[node] < T) {
            onPrefixPath_[node] = true;
            prefixDepth_[node] = static_cast<std::uint8_t>(taken);
            prefixFirst_[node] =
                static_cast<std::uint16_t>(prefix & ~((1u << (kPrefixBits - taken)) - 1));
            node = son_[node] + ((prefix >> (kPrefixBits - 1 - taken)) & 1);
            ++taken;
            entry.path[taken] = static_cast<std::uint16_t>(node);
        }
        entry.bits = static_cast<std::uint8_t>(taken);
        stalePrefixes_ &= ~(std::uint64_t{1} << prefix);
    }

    struct PrefixEntry {
        std::array<std::uint16_t, kPrefixBits + 1> path;  // the root, then each node reached
        std::uint8_t bits;                                // bits taken: path holds bits + 1 nodes
    };

    std::array<std::uint16_t, T + 1> freq_{};
    std::array<std::uint16_t, T + N_CHAR> prnt_{};
    std::array<std::uint16_t, T> son_{};
    std::array<PrefixEntry, 1u << kPrefixBits> prefixTable_;
    std::array<bool, T> onPrefixPath_{};          // nodes whose children the prefix table relies on
    std::array<std::uint16_t, T> prefixFirst_{};  // the first entry through such a node
    std::array<std::uint8_t, T> prefixDepth_{};   // and its depth: 2^(kPrefixBits - depth) entries
    std::uint64_t stalePrefixes_ = kAllPrefixes;  // one bit per entry to walk again before use
};

class BitWriter {
  public:
    explicit BitWriter(std::string& out) : out_(out) {}

    // Appends the low bits of value, most significant first (up to 64 bits).
    void Put(std::uint64_t value, int bits) {
        if (bits > 32) {
            Put(value >> 32, bits - 32);
            bits = 32;
        }
        buffer_ = (buffer_ << bits) | (value & ((std::uint64_t{1} << bits) - 1));
        count_ += bits;
        while (count_ >= 8) {
            count_ -= 8;
            out_.push_back(static_cast<char>(buffer_ >> count_));
        }
    }

    // Pads the last byte with zero bits.
    void Flush() {
        if (count_ > 0) out_.push_back(static_cast<char>(buffer_ << (8 - count_)));
        buffer_ = 0;
        count_ = 0;
    }

  private:
    std::string& out_;
    std::uint64_t buffer_ = 0;  // the low count_ bits are pending
    int count_ = 0;
};

// What the ring buffer held at a position no output byte has reached yet, given as the offset
// before the first output byte (-1 to -N): spaces, and zero bytes in the last F positions.
char InitialRingByte(std::ptrdiff_t offset) {
    return offset >= -kInitialSpaces ? ' ' : '\0';
}

// Copies a match byte by byte forward, so that a source overlapping the destination repeats.
// Works in 8-byte steps and may write up to 7 bytes past dst + length (the output keeps slack
// for that, and later output overwrites them).
inline void CopyMatch(char* dst, std::size_t distance, int length) {
    const char* src = dst - distance;
    if (distance >= 8) {
        for (int k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
        return;
    }
    // Closer than 8 bytes the source overlaps what is being written: copy the first bytes one
    // by one, then repeat them in 8-byte steps from a whole number of periods back.
    for (int k = 0; k < 8; ++k) dst[k] = src[k];
    const std::size_t period = (8 + distance - 1) / distance * distance;  // 8 or more
    for (int k = 8; k < length; k += 8) std::memcpy(dst + k, dst + k - period, 8);
}

constexpr int kCopySlack = 8;

void CheckTextSize(std::int64_t size) {
    if (size > TLZH::kMaxTextSize) {
        throw ElzhException("LZH : Text size exceeds the limit of " +
                            std::to_string(TLZH::kMaxTextSize) + " bytes");
    }
}

}  // namespace

std::string TLZH::LZHUnpack(std::int32_t textSize, std::string_view stream) {
    bool streamWhole = true;
    return LZHUnpack(textSize, stream, streamWhole);
}

std::string TLZH::LZHUnpack(std::int32_t textSize, std::string_view stream, bool& streamWhole) {
    CheckTextSize(textSize);
    streamWhole = true;
    if (textSize <= 0) return {};
    const std::size_t size = static_cast<std::size_t>(textSize);
    std::string out(size + kCopySlack, '\0');
    char* const text = out.data();

    AdaptiveTree tree;
    BitReader bits(stream);
    std::size_t produced = 0;
    while (produced < size) {
        bits.Refill();
        const int symbol = tree.DecodeAndUpdate(bits);
        if (symbol < 256) {
            text[produced++] = static_cast<char>(symbol);
            continue;
        }

        bits.RefillIfBelow(14);
        const unsigned lead = bits.Peek(8);
        const int codeLength = kPositionCode.lengthOfByte[lead];
        const unsigned position =
            kPositionCode.upperOfByte[lead] << 6 | (bits.Peek(codeLength + 6) & 63u);
        bits.Skip(codeLength + 6);

        const std::size_t distance = position + 1;
        const int length =
            static_cast<int>(std::min<std::size_t>(symbol - 256 + THRESHOLD + 1, size - produced));
        if (distance <= produced) {
            CopyMatch(text + produced, distance, length);
        } else {
            // The match starts in the ring's initial content and may run into the output.
            for (int k = 0; k < length; ++k) {
                const std::ptrdiff_t source = static_cast<std::ptrdiff_t>(produced + k) -
                                              static_cast<std::ptrdiff_t>(distance);
                text[produced + k] = source >= 0 ? text[source] : InitialRingByte(source);
            }
        }
        produced += length;
    }
    streamWhole = !bits.TookPastEnd();
    out.resize(size);
    return out;
}

namespace {

// Finds the longest earlier match for each position through hash chains over 3-byte prefixes.
// Positions index the text after the ring's initial spaces, so matches may start in them.
class MatchFinder {
  public:
    // The hash table grows with the text up to 2^14 heads, so short texts start quickly.
    explicit MatchFinder(std::string_view window)
        : window_(window),
          hashBits_(
              std::clamp(static_cast<int>(std::bit_width(window.size() - kInitialSpaces)), 8, 14)),
          head_(std::size_t{1} << hashBits_, -1),
          prev_(N, -1) {}

    void Insert(std::ptrdiff_t pos) {
        if (pos + 2 >= static_cast<std::ptrdiff_t>(window_.size())) return;
        const std::size_t hash = Hash(pos);
        prev_[pos % N] = head_[hash];
        head_[hash] = static_cast<std::int32_t>(pos);
    }

    // The longest match for pos of at most maxLength bytes: its length and distance back.
    std::pair<int, int> Longest(std::ptrdiff_t pos, int maxLength) const {
        int bestLength = 0;
        int bestDistance = 0;
        if (maxLength <= THRESHOLD || pos + 2 >= static_cast<std::ptrdiff_t>(window_.size())) {
            return {0, 0};
        }
        std::ptrdiff_t candidate = head_[Hash(pos)];
        for (int depth = 0; depth < kMaxChain && candidate >= 0; ++depth) {
            const std::ptrdiff_t distance = pos - candidate;
            if (distance <= 0 || distance > kMaxDistance) break;
            int length = 0;
            while (length < maxLength && window_[candidate + length] == window_[pos + length]) {
                ++length;
            }
            if (length > bestLength) {
                bestLength = length;
                bestDistance = static_cast<int>(distance);
                if (length == maxLength) break;
            }
            candidate = prev_[candidate % N];
        }
        return {bestLength, bestDistance};
    }

  private:
    static constexpr int kMaxChain = 256;

    std::size_t Hash(std::ptrdiff_t pos) const {
        const auto byte = [&](std::ptrdiff_t i) {
            return static_cast<std::uint32_t>(static_cast<std::uint8_t>(window_[i]));
        };
        const std::uint32_t key = byte(pos) | byte(pos + 1) << 8 | byte(pos + 2) << 16;
        return (key * 2654435761u) >> (32 - hashBits_);
    }

    std::string_view window_;
    int hashBits_;
    std::vector<std::int32_t> head_;  // positions fit: the window is at most 64 MiB + 4036
    std::vector<std::int32_t> prev_;
};

}  // namespace

std::string TLZH::LZHPack(std::string_view text) {
    CheckTextSize(static_cast<std::int64_t>(text.size()));
    std::string window(kInitialSpaces, ' ');
    window += text;

    std::string out;
    BitWriter bits(out);
    AdaptiveTree tree;
    MatchFinder matches(window);
    // Every match that starts more than F bytes before the text reads only spaces, so the nearest
    // such start stands for all of them.
    for (std::ptrdiff_t pos = kInitialSpaces - F; pos < kInitialSpaces; ++pos) matches.Insert(pos);

    const auto putSymbol = [&](int symbol) {
        const auto [code, length] = tree.CodeOf(symbol);
        bits.Put(code, length);
        tree.Update(symbol);
    };

    std::ptrdiff_t pos = kInitialSpaces;
    const auto end = static_cast<std::ptrdiff_t>(window.size());
    while (pos < end) {
        const int maxLength = static_cast<int>(std::min<std::ptrdiff_t>(F, end - pos));
        const auto [length, distance] = matches.Longest(pos, maxLength);
        int step = 1;
        if (length > THRESHOLD) {
            putSymbol(256 - THRESHOLD - 1 + length);
            const unsigned position = static_cast<unsigned>(distance - 1);
            const unsigned upper = position >> 6;
            bits.Put(kPositionCode.code[upper] >> (8 - kPositionCode.length[upper]),
                     kPositionCode.length[upper]);
            bits.Put(position & 63u, 6);
            step = length;
        } else {
            putSymbol(static_cast<std::uint8_t>(window[pos]));
        }
        for (int k = 0; k < step; ++k) matches.Insert(pos + k);
        pos += step;
    }
    bits.Flush();
    return out;
}

std::string PackSkinFile(std::string_view container) {
    std::string file;
    const auto size = static_cast<std::uint32_t>(container.size());
    for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<char>(size >> shift));
    file += TLZH::LZHPack(container);
    return file;
}

}  // namespace vardo
