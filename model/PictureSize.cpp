#include "PictureSize.h"

#include <limits.h>
#include <string.h>

#include <vector>

namespace
{

// The start of the file is enough for every header but JPEG's, whose frame header may
// follow large metadata blocks: JPEG is walked through its segments.
const DWORD kHeadBytes = 512;

class HeaderReader
{
public:
    explicit HeaderReader(LPCTSTR lpszPath)
        : m_hFile(CreateFileW(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL))
    {
    }
    ~HeaderReader()
    {
        if (m_hFile != INVALID_HANDLE_VALUE)
            CloseHandle(m_hFile);
    }
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    // The bytes at the offset; fewer at the end of the file.
    std::vector<BYTE> Read(LONGLONG nOffset, DWORD nCount) const
    {
        std::vector<BYTE> bytes(nCount);
        LARGE_INTEGER position;
        position.QuadPart = nOffset;
        DWORD dwRead = 0;
        if (!SetFilePointerEx(m_hFile, position, NULL, FILE_BEGIN) ||
            !ReadFile(m_hFile, bytes.data(), nCount, &dwRead, NULL))
            dwRead = 0;
        bytes.resize(dwRead);
        return bytes;
    }

private:
    HANDLE m_hFile;
};

DWORD BigEndian(const BYTE* p, int nBytes)
{
    DWORD v = 0;
    for (int i = 0; i < nBytes; i++)
        v = v << 8 | p[i];
    return v;
}

DWORD LittleEndian(const BYTE* p, int nBytes)
{
    DWORD v = 0;
    for (int i = nBytes - 1; i >= 0; i--)
        v = v << 8 | p[i];
    return v;
}

// The magic bytes stand at the offset; a magic string literal counts its own length.
template <size_t N>
bool Starts(const std::vector<BYTE>& head, const char (&magic)[N], size_t nAt = 0)
{
    const size_t n = N - 1;
    return head.size() >= nAt + n && memcmp(head.data() + nAt, magic, n) == 0;
}

bool Found(LONGLONG w, LONGLONG h, int& nWidth, int& nHeight)
{
    if (w <= 0 || h <= 0 || w > INT_MAX || h > INT_MAX)
        return false;
    nWidth = (int)w;
    nHeight = (int)h;
    return true;
}

bool PngSize(const std::vector<BYTE>& head, int& w, int& h)
{
    if (!Starts(head, "\x89PNG\r\n\x1a\n") || !Starts(head, "IHDR", 12) || head.size() < 24)
        return false;
    return Found(BigEndian(&head[16], 4), BigEndian(&head[20], 4), w, h);
}

bool BmpSize(const std::vector<BYTE>& head, int& w, int& h)
{
    if (!Starts(head, "BM") || head.size() < 26)
        return false;
    const DWORD dwInfoSize = LittleEndian(&head[14], 4);
    if (dwInfoSize == 12)
        return Found(LittleEndian(&head[18], 2), LittleEndian(&head[20], 2), w, h);
    const LONG nHeight = (LONG)LittleEndian(&head[22], 4);
    return Found((LONG)LittleEndian(&head[18], 4), nHeight < 0 ? -(LONGLONG)nHeight : nHeight, w,
                 h);
}

bool WebpSize(const std::vector<BYTE>& head, int& w, int& h)
{
    if (!Starts(head, "RIFF") || !Starts(head, "WEBP", 8) || head.size() < 30)
        return false;
    const BYTE* p = &head[20];   // the first chunk's data
    if (Starts(head, "VP8 ", 12))
        return p[3] == 0x9D && p[4] == 0x01 && p[5] == 0x2A &&
               Found(LittleEndian(p + 6, 2) & 0x3FFF, LittleEndian(p + 8, 2) & 0x3FFF, w, h);
    if (Starts(head, "VP8L", 12))
    {
        const DWORD bits = LittleEndian(p + 1, 4);
        return p[0] == 0x2F && Found((bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1, w, h);
    }
    if (Starts(head, "VP8X", 12))
        return Found(LittleEndian(p + 4, 3) + 1, LittleEndian(p + 7, 3) + 1, w, h);
    return false;
}

bool TiffSize(const HeaderReader& file, const std::vector<BYTE>& head, int& w, int& h)
{
    const bool bLittle = Starts(head, "II*\0");
    if (!bLittle && !Starts(head, "MM\0*"))
        return false;
    auto number = [bLittle](const BYTE* p, int n) {
        return bLittle ? LittleEndian(p, n) : BigEndian(p, n);
    };
    if (head.size() < 8)
        return false;
    const DWORD dwIfd = number(&head[4], 4);
    const std::vector<BYTE> count = file.Read(dwIfd, 2);
    if (count.size() < 2)
        return false;
    const DWORD nEntries = number(count.data(), 2);
    const std::vector<BYTE> entries = file.Read(dwIfd + 2, nEntries * 12);
    LONGLONG width = 0, height = 0;
    for (size_t i = 0; i + 12 <= entries.size(); i += 12)
    {
        const BYTE* e = &entries[i];
        const DWORD tag = number(e, 2);
        const DWORD type = number(e + 2, 2);
        // Short (3) values sit in the first two bytes of the value field, long (4) ones fill it.
        const LONGLONG value = type == 3 ? number(e + 8, 2) : type == 4 ? number(e + 8, 4) : 0;
        if (tag == 256)
            width = value;
        else if (tag == 257)
            height = value;
    }
    return Found(width, height, w, h);
}

bool PnmSize(const std::vector<BYTE>& head, int& w, int& h)
{
    if (head.size() < 3 || head[0] != 'P' || head[1] < '1' || head[1] > '6')
        return false;
    LONGLONG numbers[2] = {0, 0};
    size_t i = 2;
    for (LONGLONG& number : numbers)
    {
        for (;;)
        {
            while (i < head.size() && (head[i] == ' ' || (head[i] >= '\t' && head[i] <= '\r')))
                i++;
            if (i < head.size() && head[i] == '#')
            {
                while (i < head.size() && head[i] != '\n')
                    i++;
                continue;
            }
            break;
        }
        if (i >= head.size() || head[i] < '0' || head[i] > '9')
            return false;
        while (i < head.size() && head[i] >= '0' && head[i] <= '9' && number <= INT_MAX)
            number = number * 10 + (head[i++] - '0');
    }
    return Found(numbers[0], numbers[1], w, h);
}

bool JpegSize(const HeaderReader& file, const std::vector<BYTE>& head, int& w, int& h)
{
    if (head.size() < 4 || head[0] != 0xFF || head[1] != 0xD8)
        return false;
    LONGLONG nOffset = 2;
    for (int nSegments = 0; nSegments < 10000; nSegments++)
    {
        std::vector<BYTE> marker = file.Read(nOffset, 2);
        // Fill bytes may stand before a marker.
        while (marker.size() == 2 && marker[0] == 0xFF && marker[1] == 0xFF)
            marker = file.Read(++nOffset, 2);
        if (marker.size() < 2 || marker[0] != 0xFF)
            return false;
        const BYTE kind = marker[1];
        nOffset += 2;
        if (kind == 0x01 || (kind >= 0xD0 && kind <= 0xD7))
            continue;   // markers without a segment
        if (kind == 0xD9 || kind == 0xDA)
            return false;   // the picture data begins before any frame header
        const std::vector<BYTE> segment = file.Read(nOffset, 7);
        if (segment.size() < 2)
            return false;
        const DWORD dwLength = BigEndian(segment.data(), 2);
        const bool bFrame = kind >= 0xC0 && kind <= 0xCF && kind != 0xC4 && kind != 0xC8 &&
                            kind != 0xCC;
        if (bFrame)
            return segment.size() == 7 &&
                   Found(BigEndian(&segment[5], 2), BigEndian(&segment[3], 2), w, h);
        if (dwLength < 2)
            return false;
        nOffset += dwLength;
    }
    return false;
}

}   // namespace

BOOL ReadPictureSize(LPCTSTR lpszPath, int& nWidth, int& nHeight)
{
    HeaderReader file(lpszPath);
    if (!file.IsOpen())
        return FALSE;
    const std::vector<BYTE> head = file.Read(0, kHeadBytes);
    int w = 0, h = 0;
    const bool bFound = PngSize(head, w, h) || JpegSize(file, head, w, h) ||
                        BmpSize(head, w, h) || WebpSize(head, w, h) ||
                        TiffSize(file, head, w, h) || PnmSize(head, w, h);
    if (!bFound)
        return FALSE;
    nWidth = w;
    nHeight = h;
    return TRUE;
}
