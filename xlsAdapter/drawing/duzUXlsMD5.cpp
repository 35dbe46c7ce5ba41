#include "xlsAdapter/drawing/duzUXlsMD5.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t K[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int S[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 5, 9,  14, 20, 5, 9,
                       14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                       4, 11, 16, 23, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

void PutLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

} // namespace

TMd5Stream::TMd5Stream() { Init(); }

void TMd5Stream::Init()
{
    BlockCount = 0;
    BufCount = 0;
    A = 0x67452301;
    B = 0xefcdab89;
    C = 0x98badcfe;
    D = 0x10325476;
}

void TMd5Stream::Transform(const uint8_t *Block)
{
    uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = uint32_t(Block[4 * i]) | uint32_t(Block[4 * i + 1]) << 8 | uint32_t(Block[4 * i + 2]) << 16
               | uint32_t(Block[4 * i + 3]) << 24;
    uint32_t a = A, b = B, c = C, d = D;
    for (int i = 0; i < 64; ++i) {
        uint32_t f;
        int g;
        if (i < 16) {
            f = (b & c) | (~b & d);
            g = i;
        } else if (i < 32) {
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
        } else if (i < 48) {
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
        } else {
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
        }
        const uint32_t t = d;
        d = c;
        c = b;
        b = b + Rotl(a + f + K[i] + m[g], S[i]);
        a = t;
    }
    A += a;
    B += b;
    C += c;
    D += d;
    ++BlockCount;
}

int64_t TMd5Stream::Write(const void *Buffer_, int64_t Count)
{
    if (Count <= 0)
        return 0;
    const auto *p = static_cast<const uint8_t *>(Buffer_);
    int64_t left = Count;
    while (left > 0) {
        const uint32_t k = uint32_t(std::min<int64_t>(left, 64 - BufCount));
        std::memcpy(Buffer + BufCount, p, k);
        BufCount += k;
        p += k;
        left -= k;
        if (BufCount == 64) {
            Transform(Buffer);
            BufCount = 0;
        }
    }
    return Count;
}

TMd5Digest TMd5Stream::GetDigest()
{
    const uint64_t bits = (uint64_t(BlockCount) * 64 + BufCount) * 8;
    uint8_t pad[72] = {0x80};
    const uint32_t padLen = BufCount < 56 ? 56 - BufCount : 120 - BufCount;
    Write(pad, padLen);
    uint8_t len[8];
    for (int i = 0; i < 8; ++i)
        len[i] = uint8_t(bits >> (8 * i));
    Write(len, 8);
    TMd5Digest r;
    PutLe32(r.data(), A);
    PutLe32(r.data() + 4, B);
    PutLe32(r.data() + 8, C);
    PutLe32(r.data() + 12, D);
    Init();
    return r;
}

TMd5Digest Md5Of(const void *Data, int64_t Count)
{
    TMd5Stream s;
    s.Write(Data, Count);
    return s.GetDigest();
}
