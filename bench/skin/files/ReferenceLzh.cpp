#include "ReferenceLzh.h"

#include <algorithm>
#include <memory>

namespace vardo::reference {

namespace {

constexpr int N = 4096;
constexpr int F = 60;
constexpr int THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1;
constexpr int R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

struct Tables {
    std::uint8_t ring[N + F - 1] = {};
    std::uint16_t freq[T + 1] = {};
    std::uint16_t prnt[T + N_CHAR] = {};
    std::uint16_t son[T] = {};
    std::uint8_t dCode[256] = {};
    std::uint8_t dLen[256] = {};
};

class Decoder {
  public:
    Decoder(const WriteProcedure& write, const ReadProcedure& read)
        : tables_(std::make_unique<Tables>()), write_(write), read_(read) {
        // The position code: counts of upper values per code length 3..8.
        const int counts[] = {1, 3, 8, 12, 24, 16};
        int upper = 0;
        int b = 0;
        for (int length = 3; length <= 8; ++length) {
            for (int i = 0; i < counts[length - 3]; ++i, ++upper) {
                for (int k = 0; k < (1 << (8 - length)); ++k, ++b) {
                    tables_->dCode[b] = static_cast<std::uint8_t>(upper);
                    tables_->dLen[b] = static_cast<std::uint8_t>(length);
                }
            }
        }
    }

    void Run(std::int32_t textSize) {
        Tables& t = *tables_;
        for (int i = 0; i < N - F; ++i) t.ring[i] = ' ';
        int r = N - F;
        StartHuff();
        for (std::int32_t count = 0; count < textSize;) {
            const int c = DecodeChar();
            if (c < 256) {
                Put(static_cast<std::uint8_t>(c));
                t.ring[r++] = static_cast<std::uint8_t>(c);
                r &= N - 1;
                ++count;
            } else {
                const int i = (r - DecodePosition() - 1) & (N - 1);
                const int j = c - 255 + THRESHOLD;
                for (int k = 0; k < j; ++k) {
                    const std::uint8_t b = t.ring[(i + k) & (N - 1)];
                    Put(b);
                    t.ring[r++] = b;
                    r &= N - 1;
                    ++count;
                }
            }
        }
    }

  private:
    void Put(std::uint8_t byte) { write_(&byte, 1); }

    int GetBit() {
        while (bitCount_ <= 8) {
            std::uint8_t byte = 0;
            if (read_(&byte, 1) < 1) byte = 0;
            bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ | byte << (8 - bitCount_));
            bitCount_ += 8;
        }
        const int bit = bitBuffer_ >> 15;
        bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 1);
        --bitCount_;
        return bit;
    }

    int GetByte() {
        while (bitCount_ <= 8) {
            std::uint8_t byte = 0;
            if (read_(&byte, 1) < 1) byte = 0;
            bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ | byte << (8 - bitCount_));
            bitCount_ += 8;
        }
        const int byte = bitBuffer_ >> 8;
        bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 8);
        bitCount_ -= 8;
        return byte;
    }

    void StartHuff() {
        Tables& t = *tables_;
        for (int i = 0; i < N_CHAR; ++i) {
            t.freq[i] = 1;
            t.son[i] = static_cast<std::uint16_t>(i + T);
            t.prnt[i + T] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            t.freq[j] = static_cast<std::uint16_t>(t.freq[i] + t.freq[i + 1]);
            t.son[j] = static_cast<std::uint16_t>(i);
            t.prnt[i] = t.prnt[i + 1] = static_cast<std::uint16_t>(j);
        }
        t.freq[T] = 0xFFFF;
        t.prnt[R] = 0;
    }

    void Reconstruct() {
        Tables& t = *tables_;
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (t.son[i] >= T) {
                t.freq[j] = static_cast<std::uint16_t>((t.freq[i] + 1) / 2);
                t.son[j] = t.son[i];
                ++j;
            }
        }
        for (int i = 0, n = N_CHAR; n < T; i += 2, ++n) {
            const unsigned f = t.freq[i] + t.freq[i + 1];
            int k = n - 1;
            while (f < t.freq[k]) --k;
            ++k;
            for (int m = n; m > k; --m) {
                t.freq[m] = t.freq[m - 1];
                t.son[m] = t.son[m - 1];
            }
            t.freq[k] = static_cast<std::uint16_t>(f);
            t.son[k] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0; i < T; ++i) {
            const int k = t.son[i];
            t.prnt[k] = static_cast<std::uint16_t>(i);
            if (k < T) t.prnt[k + 1] = static_cast<std::uint16_t>(i);
        }
    }

    void Update(int symbol) {
        Tables& t = *tables_;
        if (t.freq[R] == MAX_FREQ) Reconstruct();
        int c = t.prnt[symbol + T];
        do {
            const unsigned k = ++t.freq[c];
            if (k > t.freq[c + 1]) {
                int l = c + 1;
                while (k > t.freq[l + 1]) ++l;
                t.freq[c] = t.freq[l];
                t.freq[l] = static_cast<std::uint16_t>(k);
                const int i = t.son[c];
                t.prnt[i] = static_cast<std::uint16_t>(l);
                if (i < T) t.prnt[i + 1] = static_cast<std::uint16_t>(l);
                const int j = t.son[l];
                t.son[l] = static_cast<std::uint16_t>(i);
                t.prnt[j] = static_cast<std::uint16_t>(c);
                if (j < T) t.prnt[j + 1] = static_cast<std::uint16_t>(c);
                t.son[c] = static_cast<std::uint16_t>(j);
                c = l;
            }
            c = t.prnt[c];
        } while (c != 0);
    }

    int DecodeChar() {
        int c = tables_->son[R];
        while (c < T) c = tables_->son[c + GetBit()];
        c -= T;
        Update(c);
        return c;
    }

    int DecodePosition() {
        int b = GetByte();
        const int upper = tables_->dCode[b] << 6;
        for (int j = tables_->dLen[b] - 2; j > 0; --j) b = (b << 1) + GetBit();
        return upper | (b & 0x3F);
    }

    std::unique_ptr<Tables> tables_;
    const WriteProcedure& write_;
    const ReadProcedure& read_;
    std::uint16_t bitBuffer_ = 0;
    int bitCount_ = 0;
};

}  // namespace

void LZHUnpack(std::int32_t textSize, const WriteProcedure& write, const ReadProcedure& read) {
    Decoder(write, read).Run(textSize);
}

std::string Unpack(std::int32_t textSize, std::string_view stream) {
    std::string out;
    std::size_t next = 0;
    const ReadProcedure read = [&](std::uint8_t* buffer, int count) {
        const int delivered = static_cast<int>(std::min<std::size_t>(count, stream.size() - next));
        for (int i = 0; i < delivered; ++i) buffer[i] = static_cast<std::uint8_t>(stream[next++]);
        return delivered;
    };
    const WriteProcedure write = [&](const std::uint8_t* buffer, int count) {
        out.append(reinterpret_cast<const char*>(buffer), count);
    };
    LZHUnpack(textSize, write, read);
    return out;
}

}  // namespace vardo::reference
