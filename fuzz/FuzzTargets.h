// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fuzz targets: each takes one input and runs it through the program's own entry points,
// checking what their contracts promise. libFuzzer drives them (entry.cpp); the regression
// test replays the inputs of fixed findings through the same functions.

#include <cstddef>
#include <cstdint>

int fuzzDictionary(const std::uint8_t *data, std::size_t size);
int fuzzMessages(const std::uint8_t *data, std::size_t size);
int fuzzTicks(const std::uint8_t *data, std::size_t size);
int fuzzReadout(const std::uint8_t *data, std::size_t size);
