#include "GraphicFileFormat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

namespace {

bool StartsWith(const std::vector<unsigned char>& bytes, const char* signature, size_t size)
{
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

uint32 BigEndian(const std::vector<unsigned char>& b, size_t at, size_t size)
{
    uint32 value = 0;
    for (size_t i = 0; i < size; ++i) value = (value << 8) | b[at + i];
    return value;
}

uint32 LittleEndian(const std::vector<unsigned char>& b, size_t at, size_t size)
{
    uint32 value = 0;
    for (size_t i = size; i-- > 0;) value = (value << 8) | b[at + i];
    return value;
}

// A resolution stated in pixels a `unit` (inches, or centimetres when `perCentimetre`), in
// pixels an inch; 0 for none or one past belief.
double PerInch(double pixels, bool perCentimetre)
{
    double perInch = perCentimetre ? pixels * 2.54 : pixels;
    return perInch >= 1 && perInch <= 100000 ? perInch : 0;
}

// The size in the first start-of-frame segment of a JPEG, and the density of its JFIF segment;
// false when the segments run out before the size.
bool JpegSize(const std::vector<unsigned char>& b, int32& width, int32& height, double& resolutionX, double& resolutionY)
{
    size_t at = 2;
    while (at + 9 < b.size()) {
        if (b[at] != 0xFF) return false;
        unsigned char marker = b[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t length = BigEndian(b, at + 2, 2);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            height = static_cast<int32>(BigEndian(b, at + 5, 2));
            width = static_cast<int32>(BigEndian(b, at + 7, 2));
            return true;
        }
        if (length < 2) return false;
        // JFIF: "JFIF\0", version, units (1 dots an inch, 2 a centimetre), densities.
        if (marker == 0xE0 && length >= 14 && at + 16 <= b.size() && std::memcmp(&b[at + 4], "JFIF\0", 5) == 0 &&
            (b[at + 11] == 1 || b[at + 11] == 2)) {
            resolutionX = PerInch(BigEndian(b, at + 12, 2), b[at + 11] == 2);
            resolutionY = PerInch(BigEndian(b, at + 14, 2), b[at + 11] == 2);
        }
        at += 2 + length;
    }
    return false;
}

// The ImageWidth and ImageLength of a TIFF's first directory, and its XResolution and
// YResolution in ResolutionUnit (inches unless it says centimetres); left as they are when
// missing.
void TiffSize(const std::vector<unsigned char>& b, int32& width, int32& height, double& resolutionX, double& resolutionY)
{
    bool little = b[0] == 'I';
    auto read = [&](size_t at, size_t size) { return little ? LittleEndian(b, at, size) : BigEndian(b, at, size); };
    size_t directory = read(4, 4);
    if (directory + 2 > b.size()) return;
    size_t count = read(directory, 2);
    double x = 0, y = 0;
    bool perCentimetre = false;
    for (size_t i = 0; i < count && directory + 2 + (i + 1) * 12 <= b.size(); ++i) {
        size_t entry = directory + 2 + i * 12;
        uint32 tag = read(entry, 2), type = read(entry + 2, 2);
        uint32 value = type == 3 ? read(entry + 8, 2) : read(entry + 8, 4);
        if (tag == 256) width = static_cast<int32>(value);
        if (tag == 257) height = static_cast<int32>(value);
        if (tag == 296) perCentimetre = value == 3;
        if ((tag == 282 || tag == 283) && type == 5 && size_t(value) + 8 <= b.size()) {
            uint32 denominator = read(value + 4, 4);
            double ratio = denominator ? double(read(value, 4)) / denominator : 0;
            (tag == 282 ? x : y) = ratio;
        }
    }
    resolutionX = PerInch(x, perCentimetre);
    resolutionY = PerInch(y, perCentimetre);
}

// The physical pixel size of a PNG's pHYs chunk, when it is in metres; chunks after the first
// IDAT are not looked at.
void PngResolution(const std::vector<unsigned char>& b, double& resolutionX, double& resolutionY)
{
    for (size_t at = 8; at + 8 <= b.size();) {
        size_t length = BigEndian(b, at, 4);
        if (std::memcmp(&b[at + 4], "IDAT", 4) == 0 || at + 12 + length > b.size()) return;
        if (std::memcmp(&b[at + 4], "pHYs", 4) == 0 && length == 9 && b[at + 16] == 1) {
            resolutionX = PerInch(BigEndian(b, at + 8, 4) / 100.0, true);
            resolutionY = PerInch(BigEndian(b, at + 12, 4) / 100.0, true);
            return;
        }
        at += 12 + length;
    }
}

// The extent that an EPS file's header gives its page: %%HiResBoundingBox when it has one, else
// %%BoundingBox. A header that defers the box "(atend)" finds it in the trailer, the last such
// comment of the file; else the header's first box counts, and the boxes of files embedded
// further on do not. The PostScript of a file with a binary DOS EPS header lies where the header
// says. False when no box of positive size is found.
bool EpsSize(const std::vector<unsigned char>& b, double& width, double& height)
{
    size_t at = 0, end = b.size();
    if (StartsWith(b, "\xC5\xD0\xD3\xC6", 4) && b.size() >= 12) {
        at = LittleEndian(b, 4, 4);
        end = std::min<size_t>(b.size(), at + size_t(LittleEndian(b, 8, 4)));
        if (at >= end) return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(b.data()) + at, end - at);
    struct Box {
        bool found = false;
        double width = 0, height = 0;
    } box, hiRes;
    bool deferred = false;
    auto read = [](std::string_view values, Box& into) {
        double v[4];
        std::string copy(values.substr(0, std::min<size_t>(values.size(), 200)));
        if (std::sscanf(copy.c_str(), "%lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3]) != 4) return false;
        if (!(v[2] - v[0] > 0) || !(v[3] - v[1] > 0) || !std::isfinite(v[2] - v[0]) || !std::isfinite(v[3] - v[1])) return false;
        into = Box{true, v[2] - v[0], v[3] - v[1]};
        return true;
    };
    bool inHeader = true;
    for (size_t line = 0; line < text.size();) {
        size_t next = text.find_first_of("\r\n", line);
        if (next == std::string_view::npos) next = text.size();
        std::string_view current = text.substr(line, next - line);
        line = next + 1;
        if (current.rfind("%%", 0) != 0) {
            // The header's comments end at the first line that is not one.
            if (inHeader && !current.empty() && current[0] != '%') inHeader = false;
            if (!inHeader && !deferred) break;
            continue;
        }
        if (current.rfind("%%EndComments", 0) == 0) {
            inHeader = false;
            if (!deferred) break;
            continue;
        }
        for (auto [name, into] : {std::pair<std::string_view, Box*>{"%%HiResBoundingBox:", &hiRes}, {"%%BoundingBox:", &box}}) {
            if (current.rfind(name, 0) != 0) continue;
            std::string_view values = current.substr(name.size());
            if (values.find("(atend)") != std::string_view::npos) {
                if (inHeader) deferred = true;
                continue;
            }
            // In the header the first box counts; after a deferring header, the last one.
            if ((inHeader && !into->found) || (!inHeader && deferred)) read(values, *into);
        }
    }
    const Box& chosen = hiRes.found ? hiRes : box;
    if (!chosen.found) return false;
    width = chosen.width;
    height = chosen.height;
    return true;
}

std::string LowerExtension(const PMString& name)
{
    std::string ext = std::filesystem::path(name.GetUTF8String()).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

GraphicFileFormat GraphicFileFormat::Detect(const std::vector<unsigned char>& b, const PMString& name)
{
    GraphicFileFormat result;
    auto set = [&result](GraphicKind kind, const char* format) {
        result.known = true;
        result.kind = kind;
        result.format = format;
    };
    if (StartsWith(b, "\x89PNG\r\n\x1a\n", 8) && b.size() >= 24) {
        set(GraphicKind::kImage, "PNG");
        result.pixelWidth = static_cast<int32>(BigEndian(b, 16, 4));
        result.pixelHeight = static_cast<int32>(BigEndian(b, 20, 4));
        PngResolution(b, result.resolutionX, result.resolutionY);
    } else if (StartsWith(b, "\xFF\xD8\xFF", 3)) {
        set(GraphicKind::kImage, "JPEG");
        JpegSize(b, result.pixelWidth, result.pixelHeight, result.resolutionX, result.resolutionY);
    } else if ((StartsWith(b, "GIF87a", 6) || StartsWith(b, "GIF89a", 6)) && b.size() >= 10) {
        set(GraphicKind::kImage, "GIF");
        result.pixelWidth = static_cast<int32>(LittleEndian(b, 6, 2));
        result.pixelHeight = static_cast<int32>(LittleEndian(b, 8, 2));
    } else if (StartsWith(b, "II*\0", 4) || StartsWith(b, "MM\0*", 4)) {
        set(GraphicKind::kImage, "TIFF");
        TiffSize(b, result.pixelWidth, result.pixelHeight, result.resolutionX, result.resolutionY);
    } else if (StartsWith(b, "BM", 2) && b.size() >= 26) {
        set(GraphicKind::kImage, "BMP");
        result.pixelWidth = static_cast<int32>(LittleEndian(b, 18, 4));
        result.pixelHeight = static_cast<int32>(LittleEndian(b, 22, 4));
        // Pixels a metre, in an info header of 40 bytes or more.
        if (b.size() >= 46 && LittleEndian(b, 14, 4) >= 40) {
            result.resolutionX = PerInch(static_cast<int32>(LittleEndian(b, 38, 4)) / 100.0, true);
            result.resolutionY = PerInch(static_cast<int32>(LittleEndian(b, 42, 4)) / 100.0, true);
        }
    } else if (StartsWith(b, "%PDF-", 5)) {
        set(GraphicKind::kPDF, "PDF");
    } else if (StartsWith(b, "%!PS", 4) || StartsWith(b, "\xC5\xD0\xD3\xC6", 4)) {
        set(GraphicKind::kEPS, "EPS");
        EpsSize(b, result.epsWidth, result.epsHeight);
    } else if (std::string ext = LowerExtension(name); (ext == ".pict" || ext == ".pct") && b.size() > 522) {
        // PICT files start with 512 bytes of application data and have no signature of their own.
        set(GraphicKind::kImage, "PICT");
    }
    if (result.pixelWidth < 0 || result.pixelHeight < 0) result.pixelWidth = result.pixelHeight = 0;
    return result;
}

bool GraphicFileFormat::ReadFile(const IDFile& file, std::vector<unsigned char>& bytes, size_t limit)
{
    bytes.clear();
    // Folders, devices and pipes are not read: a device could block or never end. Opened without
    // waiting (a FIFO would wait for a writer) and asked what it is once open, so that nothing
    // put in the file's place after a look at its name is read either.
    int fd = ::open(file.GetPath().c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 || static_cast<uint64_t>(info.st_size) > limit) {
        ::close(fd);
        return false;
    }
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    ::close(fd);
    if (done != bytes.size()) {
        bytes.clear();
        return false;
    }
    return true;
}

GraphicFileFormat GraphicFileFormat::FromName(const PMString& name)
{
    GraphicFileFormat result;
    result.known = true;
    std::string ext = LowerExtension(name);
    if (ext == ".eps" || ext == ".ps" || ext == ".epsi") {
        result.kind = GraphicKind::kEPS;
        result.format = "EPS";
    } else if (ext == ".pdf") {
        result.kind = GraphicKind::kPDF;
        result.format = "PDF";
    } else {
        static const std::pair<const char*, const char*> kImages[] = {{".tif", "TIFF"}, {".tiff", "TIFF"}, {".jpg", "JPEG"}, {".jpeg", "JPEG"},
                                                                      {".png", "PNG"},  {".gif", "GIF"},   {".bmp", "BMP"},  {".pict", "PICT"},
                                                                      {".pct", "PICT"}};
        for (const auto& [extension, format] : kImages)
            if (ext == extension) result.format = format;
    }
    return result;
}
