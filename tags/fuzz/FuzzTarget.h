#pragma once

// The body of every fuzz target: runs one check of ParserChecks.h on the
// bytes libFuzzer gives and aborts, so that libFuzzer keeps the input, when
// the check finds a broken promise. The bytes are not copied, so that the
// address sanitizer sees any read past their end.

#include "ParserChecks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define VELUNOR_FUZZ_TARGET(check)                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)                        \
    {                                                                                              \
        const QByteArray bytes =                                                                   \
            QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));        \
        if (const QString problem = velunor::parserchecks::check(bytes); !problem.isEmpty()) {     \
            std::fprintf(stderr, "%s: %s\n", #check, qPrintable(problem));                         \
            std::abort();                                                                          \
        }                                                                                          \
        return 0;                                                                                  \
    }
