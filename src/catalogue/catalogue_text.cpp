#include "catalogue/catalogue_text.h"

#include "catalogue/satellite_file.h"

#include <cstdint>
#include <cstring>

namespace palquin {
namespace {

// Length of the valid UTF-8 sequence at bytes[i], or 0 when there is none (overlong forms,
// surrogates and code points above U+10FFFF are not valid).
size_t Utf8SequenceAt(std::string_view bytes, size_t i) {
    const auto at = [&bytes](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() - i < length || at(i + 1) < low || at(i + 1) > high) {
        return 0;
    }
    for (size_t k = 2; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes at p, in whatever order the machine keeps them: only "is any byte ..." is asked.
uint64_t WordAt(const char* p) {
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Whether any of the eight bytes in word is CR or LF.
bool HoldsLineEnd(uint64_t word) {
    const uint64_t cr = word ^ (kOnes * '\r');
    const uint64_t lf = word ^ (kOnes * '\n');
    return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighBits;
}

// The first CR or LF in [from, end), or end. Catalogue lines run to tens of bytes, so the
// search steps over eight bytes at a time and looks at single bytes only near a line end.
const char* FindLineEnd(const char* from, const char* end) {
    while (end - from >= 8 && !HoldsLineEnd(WordAt(from))) {
        from += 8;
    }
    while (from != end && *from != '\r' && *from != '\n') {
        ++from;
    }
    return from;
}

struct Line {
    size_t begin;
    size_t end;   ///< where the line end starts
    size_t next;  ///< where the next line starts
};

Line LineAt(std::string_view bytes, size_t from) {
    const char* const data = bytes.data();
    const size_t end = static_cast<size_t>(FindLineEnd(data + from, data + bytes.size()) - data);
    if (end == bytes.size()) {
        return {from, end, end};
    }
    const bool crlf = data[end] == '\r' && end + 1 < bytes.size() && data[end + 1] == '\n';
    return {from, end, end + (crlf ? 2 : 1)};
}

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        return FileEncoding::Utf8;
    }
    bool nonAscii = false;
    for (size_t i = 0; i < bytes.size();) {
        // Runs of ASCII, the bulk of any catalogue, are passed over eight bytes at a time.
        while (bytes.size() - i >= 8 && (WordAt(bytes.data() + i) & kHighBits) == 0) {
            i += 8;
        }
        if (i == bytes.size()) {
            break;
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t length = Utf8SequenceAt(bytes, i);
        if (length == 0) {
            return FileEncoding::Windows1251;
        }
        nonAscii = true;
        i += length;
    }
    return nonAscii ? FileEncoding::Utf8 : FileEncoding::Windows1251;
}

CatalogueText::CatalogueText(std::string bytes) : bytes_(std::move(bytes)) {
    const std::string_view all = bytes_;
    const size_t first = all.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;

    // Counted first, so the offsets take exactly the room they need.
    size_t count = 0;
    size_t catalogueEnd = all.size();
    size_t settingsStart = all.size();
    for (size_t at = first; at < all.size();) {
        const Line line = LineAt(all, at);
        if (all.substr(line.begin, line.end - line.begin) == kSeparatorLine) {
            hasSeparator_ = true;
            catalogueEnd = line.begin;
            settingsStart = line.next;
            break;
        }
        ++count;
        at = line.next;
    }
    starts_.reserve(count + 1);
    for (size_t at = first; at < catalogueEnd; at = LineAt(all, at).next) {
        starts_.push_back(at);
    }
    starts_.push_back(catalogueEnd);
    settings_ = SplitLines(all.substr(settingsStart));
    encoding_ = DetectEncoding(all);
}

std::string_view CatalogueText::operator[](size_t i) const {
    const size_t begin = starts_[i];
    size_t end = starts_[i + 1];
    // The next start lies just past this line's end, if it has one: CR LF, CR or LF.
    if (end > begin && bytes_[end - 1] == '\n') {
        --end;
        if (end > begin && bytes_[end - 1] == '\r') {
            --end;
        }
    } else if (end > begin && bytes_[end - 1] == '\r') {
        --end;
    }
    return std::string_view(bytes_).substr(begin, end - begin);
}

std::vector<std::string> CatalogueText::Entries() const {
    std::vector<std::string> entries;
    entries.reserve(size());
    for (size_t i = 0; i < size(); ++i) {
        entries.emplace_back((*this)[i]);
    }
    return entries;
}

}  // namespace palquin
