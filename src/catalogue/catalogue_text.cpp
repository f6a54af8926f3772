// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_text.h"

#include "catalogue/satellite_file.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes at p, in whatever order the machine keeps them: only "is any byte ..." is asked.
uint64_t WordAt(const char* p) {
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Calls onEnd(i) for every CR and LF at data[i], from .. size, in order, until it returns false.
// Catalogue lines run to tens of bytes: the search looks at sixteen bytes at a time where the
// processor can, and at single bytes only where a line end is. Returns how far from `from` on
// the bytes are known to be ASCII, so that the encoding check need not pass over them again.
template <typename OnEnd>
size_t ForEachLineEnd(const char* data, size_t from, size_t size, OnEnd onEnd) {
    size_t i = from;
    size_t ascii = from;
    bool high = false;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; size - i >= 16; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        high = high || _mm_movemask_epi8(block) != 0;
        ascii = high ? ascii : i + 16;
        auto ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf))));
        for (; ends != 0; ends &= ends - 1) {
            if (!onEnd(i + static_cast<size_t>(std::countr_zero(ends)))) {
                return ascii;
            }
        }
    }
#endif
    for (; i < size; ++i) {
        high = high || static_cast<unsigned char>(data[i]) >= 0x80;
        ascii = high ? ascii : i + 1;
        if ((data[i] == '\r' || data[i] == '\n') && !onEnd(i)) {
            return ascii;
        }
    }
    return ascii;
}

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes) {
    return bytes.starts_with(kUtf8Bom) ? FileEncoding::Utf8 : EncodingWithoutMark(bytes);
}

FileEncoding EncodingWithoutMark(std::string_view bytes) {
    bool nonAscii = false;
    for (size_t i = 0; i < bytes.size();) {
        // Runs of ASCII, the bulk of any catalogue, are passed over sixteen or eight bytes at a
        // time.
#if defined(__SSE2__)
        while (bytes.size() - i >= 16 &&
               _mm_movemask_epi8(
                   _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i))) == 0) {
            i += 16;
        }
#endif
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

CatalogueText::CatalogueText(std::string bytes) : ownBytes_(std::move(bytes)), bytes_(ownBytes_) {
    FindLines();
}

CatalogueText::CatalogueText(std::shared_ptr<const void> owner, std::string_view bytes)
    : owner_(std::move(owner)), bytes_(bytes) {
    FindLines();
}

CatalogueText& CatalogueText::operator=(const CatalogueText& other) {
    if (this != &other) {
        ownBytes_ = other.ownBytes_;
        owner_ = other.owner_;
        bytes_ = owner_ ? other.bytes_ : std::string_view(ownBytes_);
        starts_ = other.starts_;
        settings_ = other.settings_;
        hasSeparator_ = other.hasSeparator_;
        encoding_ = other.encoding_;
    }
    return *this;
}

CatalogueText& CatalogueText::operator=(CatalogueText&& other) noexcept {
    if (this != &other) {
        ownBytes_ = std::move(other.ownBytes_);
        owner_ = std::move(other.owner_);
        // A short text moves by copy, so the view is taken afresh.
        bytes_ = owner_ ? other.bytes_ : std::string_view(ownBytes_);
        starts_ = std::move(other.starts_);
        settings_ = std::move(other.settings_);
        hasSeparator_ = other.hasSeparator_;
        encoding_ = other.encoding_;
        other.ownBytes_.clear();
        other.bytes_ = other.ownBytes_;
        other.starts_.reset();
    }
    return *this;
}

void LineScan::Scan(std::string_view all, bool final) {
    if (data_ != all.data() || all.size() < scanned_ || (!started_ && scanned_ != 0)) {
        *this = LineScan();  // other bytes: from the start
        data_ = all.data();
    }
    if (!started_) {
        // Until three bytes are there, a byte-order mark cannot be told.
        if (all.size() < kUtf8Bom.size() && !final) {
            return;
        }
        started_ = true;
        first_ = all.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
        scanned_ = first_;
        lineStart_ = first_;
        asciiEnd_ = first_;
        catalogueEnd_ = all.size();
        settingsStart_ = all.size();
        // Room for lines of 16 bytes on average: real catalogue lines are longer, so the list
        // is not moved while it grows, and the room it does not use is never touched.
        starts_.reserve(all.size() / 16 + 1);
    }
    if (separated_) {
        return;
    }
    if (final) {
        catalogueEnd_ = all.size();
        settingsStart_ = all.size();
    }
    // A CR at the end of what is there may be the first half of a CR LF.
    size_t limit = all.size();
    if (!final && limit > scanned_ && all[limit - 1] == '\r') {
        --limit;
    }

    // Ends the line at end; false once it was the separator.
    const auto endLine = [&](size_t end, size_t next) {
        if (end - lineStart_ == kSeparatorLine.size() &&
            std::memcmp(all.data() + lineStart_, kSeparatorLine.data(), kSeparatorLine.size()) ==
                0) {
            separated_ = true;
            catalogueEnd_ = lineStart_;
            settingsStart_ = next;
            return false;
        }
        starts_.push_back(lineStart_);
        lineStart_ = next;
        return true;
    };
    const size_t from = scanned_;
    const size_t ascii = ForEachLineEnd(all.data(), from, limit, [&](size_t end) {
        if (end < lineStart_) {
            return true;  // the LF of a CR LF
        }
        const bool crlf =
            all.data()[end] == '\r' && end + 1 < all.size() && all.data()[end + 1] == '\n';
        return endLine(end, end + (crlf ? 2 : 1));
    });
    if (asciiEnd_ == from) {
        asciiEnd_ = ascii;  // no other byte before these
    }
    scanned_ = limit;
    if (final && !separated_ && lineStart_ < all.size()) {
        endLine(all.size(), all.size());  // a last line without a line end
    }
}

CatalogueText::CatalogueText(std::shared_ptr<const void> owner, std::string_view bytes,
                             LineScan scan)
    : owner_(std::move(owner)), bytes_(bytes) {
    FindLines(std::move(scan));
}

void CatalogueText::FindLines(LineScan scan) {
    const std::string_view all = bytes_;
    // One pass over the bytes, or what is left of one: every line's start until the separator;
    // CR LF is one line end.
    scan.Scan(all, true);
    hasSeparator_ = scan.separated_;
    scan.starts_.push_back(scan.catalogueEnd_);
    starts_ = std::make_shared<const std::vector<size_t>>(std::move(scan.starts_));
    settings_ = SplitLines(all.substr(scan.settingsStart_));
    // Up to asciiEnd_ there is nothing to decide on.
    encoding_ =
        scan.first_ != 0 ? FileEncoding::Utf8 : EncodingWithoutMark(all.substr(scan.asciiEnd_));
}

std::string_view CatalogueText::operator[](size_t i) const {
    const size_t begin = (*starts_)[i];
    size_t end = (*starts_)[i + 1];
    // The next start lies just past this line's end, if it has one: CR LF, CR or LF.
    if (end > begin && bytes_[end - 1] == '\n') {
        --end;
        if (end > begin && bytes_[end - 1] == '\r') {
            --end;
        }
    } else if (end > begin && bytes_[end - 1] == '\r') {
        --end;
    }
    return bytes_.substr(begin, end - begin);
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
