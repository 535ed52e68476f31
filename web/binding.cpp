// SPDX-FileCopyrightText: 2026 The Velinora developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page calls, through emscripten's cwrap: the analysis of a name and what a
// screen reader is told about it. Text crosses as UTF-8, the encoding of JavaScript's
// TextEncoder and of emscripten's UTF8ToString.
#include "analysis_announcement.h"
#include "name_analysis.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace {

const velinora::LetterTable& Table() {
    static const velinora::LetterTable table = velinora::BuildLetterTable();
    return table;
}

// TextEncoder gives well-formed UTF-8; whatever arrives, nothing is read past its end.
std::u16string FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7FU >> length);
        for (std::size_t i = 1; i < length && at + i < bytes.size(); ++i)
            point = (point << 6) | (static_cast<unsigned char>(bytes[at + i]) & 0x3FU);
        at += length;
        if (point < 0x10000) {
            text += static_cast<char16_t>(point);
        } else { // a surrogate pair, two characters to the core, as in the window
            point -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (point >> 10));
            text += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
        }
    }
    return text;
}

// The core's texts lie in the Basic Multilingual Plane: one to three bytes a character.
std::string ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            bytes += static_cast<char>(unit);
        } else if (unit < 0x800) {
            bytes += static_cast<char>(0xC0 | unit >> 6);
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            bytes += static_cast<char>(0xE0 | unit >> 12);
            bytes += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return bytes;
}

// JavaScript copies the answer out before the next call replaces it.
const char* Answer(std::u16string_view text) {
    static std::string answer;
    answer = ToUtf8(text);
    return answer.c_str();
}

} // namespace

extern "C" {

// The name comes with its length, so that a NUL in it is a character like any other.
const char* velinora_analyze(const char* name, std::size_t size) {
    return Answer(velinora::AnalyzeName(FromUtf8({name, size}), Table()));
}

const char* velinora_announce(const char* name, std::size_t size) {
    return Answer(velinora::AnalysisAnnouncement(FromUtf8({name, size}), Table()));
}

} // extern "C"
