#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A property of the program that an input broke: stop loudly, so that the
// fuzzer keeps the input and the corpus test fails.
inline void pruefen(bool gilt, const char* was) {
    if (!gilt) {
        std::fprintf(stderr, "verletzt: %s\n", was);
        std::abort();
    }
}

// What the last input came to ("abgelehnt", "unlesbar", "gelesen: 3"); the
// corpus test compares it with what each seed was made to give.
inline std::string& befund() {
    static std::string text;
    return text;
}
