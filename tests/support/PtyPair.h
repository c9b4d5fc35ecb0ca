#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vg::test {

// A pseudo-terminal whose master side the test holds, playing the unit by hand.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return Slave; }
    void Write(const std::vector<uint8_t>& bytes);
    // Reads what arrives within `timeout`, stopping early once `count` bytes are there.
    std::vector<uint8_t> Read(size_t count, std::chrono::milliseconds timeout);
    // Closes the master side: the program's side sees a hang-up.
    void CloseMaster();

private:
    int Master = -1;
    std::string Slave;
};

} // namespace vg::test
