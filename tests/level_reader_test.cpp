#include "level/FormattedRead.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// What a read left behind, on one line: whether it converted, the value, the untaken text.
std::string outcome(bool converted, const std::string& value, const std::string& rest)
{
    return (converted ? "read [" : "failed [") + value + "] leaving [" + rest + "]";
}

std::string floatText(float value)
{
    char text[64] = "";
    std::snprintf(text, sizeof text, "%a", static_cast<double>(value));
    return text;
}

// How `text` is read with "%f", "%d" or "%254s": by the C library from a file, or by ours.
std::string readWith(bool library, const std::string& text, char conversion)
{
    std::FILE* file = std::tmpfile();
    if (file == nullptr) {
        return "no temporary file";
    }
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CharSource source(text.data(), text.size());
    bool converted = false;
    std::string value = "unchanged";
    if (conversion == 'f') {
        float number = -7.0f;
        converted = library ? std::fscanf(file, "%f", &number) == 1 : readFloat(source, number);
        value = floatText(number);
    } else if (conversion == 'd') {
        int32_t number = -7;
        converted = library ? std::fscanf(file, "%d", &number) == 1 : readInt(source, number);
        value = std::to_string(number);
    } else if (library) {
        char word[255] = "";
        int start = 0;
        int end = 0;
        converted = std::fscanf(file, " %n%254s%n", &start, word, &end) == 1;
        value = converted ? std::string(word, end - start) : value;
    } else {
        converted = readWord(source, value);
    }
    std::string rest;
    for (int byte = 0; (byte = library ? std::fgetc(file) : source.take()) != EOF;) {
        rest += static_cast<char>(byte);
    }
    std::fclose(file);
    return outcome(converted, value, rest);
}

// Every value of a level is read by one of these, so each must take exactly the bytes the C
// library takes, convert when it converts, and give the same value.
TEST(FormattedRead, TakesExactlyWhatTheLibraryTakes)
{
    // clang-format off
    std::vector<std::string> texts = {
        "12abc", "1ex", "1e+x", "1e+5x", "-x", "+", "-", "", "   ", " \t\r\n\v\f7", "nax",
        "nan", "NaN(abc)", "nan(", "-nan", "inx", "infx", "inf", "INFINITYx", "infinx",
        "infinit", "0x", "0xg", "-0x", "+0xz", "0x1p", "0x1p3", "0x.p1", "0x.8", "0X1P-2z",
        "0xe+1", "0x1.g", "0xp", ".", ".5", "5.", ".e5", "-.", "0e", "00x5", "1e5e", "1e5.3",
        "1.2.3", "--5", "+-5", "-0", "1e39", "-1e39", "1e-50", "1e-45", "0x1p128", "1,5",
        "e5", "+.5", "0.0.", "1e-x", "007", "2147483647", "2147483648", "4294967295",
        "4294967298", "-2147483649", "99999999999999999999", "-99999999999999999999",
        "258", "-1", "1.5", "+5", "//X", "Vector 100 200", "12\r\n",
    };
    // clang-format on
    // Then random texts of the bytes that matter to the number reads, white space and a NUL.
    const std::string alphabet =
        std::string("0123456789+-.eExXpPaAfFiInNtTyY( )\t\r\n/#_z") + std::string(1, '\0');
    std::mt19937 random(20261206u);
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        for (unsigned count = random() % 13; count > 0; --count) {
            text += alphabet[random() % alphabet.size()];
        }
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        for (const char conversion : {'f', 'd', 's'}) {
            ASSERT_EQ(readWith(false, text, conversion), readWith(true, text, conversion))
                << "%" << conversion << " on [" << text << "]";
        }
    }
}

} // namespace
