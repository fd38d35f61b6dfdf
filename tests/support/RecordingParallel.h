#pragma once
// A parallel port for tests: remembers every register write and every open and close.

#include "platform/parallel/ParallelPort.h"

#include <string>
#include <utility>
#include <vector>

namespace corvane::test {

struct RecordingParallel final : cw::ParallelOutput {
    std::vector<std::pair<int, int>> writes; // address, value
    std::vector<int> opens;
    int closes = 0;
    int openAddress = -1;
    bool failOpen = false;
    bool failWrites = false; // writes to the open address fail, as a device that went away
    bool open(int address) override {
        opens.push_back(address);
        if (failOpen) {
            return false;
        }
        openAddress = address;
        return true;
    }
    void close() override {
        ++closes;
        openAddress = -1;
    }
    bool isOpenFor(int address) const override { return address == openAddress; }
    bool write(int address, std::uint8_t value) override {
        if (address != openAddress || failWrites) {
            return false;
        }
        writes.emplace_back(address, value);
        return true;
    }
    std::string lastError() const override { return failWrites ? "/dev/parport0: Input/output error" : ""; }
};

} // namespace corvane::test
