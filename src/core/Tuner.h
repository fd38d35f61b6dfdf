#pragma once
// Tuning the radio, as the spot list, the band map and the tune panel ask for it. The rig
// link provides it; until a rig link is attached, asking does nothing.

#include <string>

namespace corvane {

class Tuner {
public:
    virtual ~Tuner() = default;
    // False when no radio took the change.
    virtual bool changeFrequency(float frequencyMHz) = 0;
    // "CW", "LSB", "USB", "AM", "FM", "RTTY", "CW-R", "RTTY-R", "FSK", "DIG", "PKT".
    virtual bool changeMode(const std::string& mode) = 0;
};

// The tuner the program hands around: it forwards to the attached rig link, if any.
class TunerSlot final : public Tuner {
public:
    void attach(Tuner* tuner) { m_tuner = tuner; }
    bool attached() const { return m_tuner != nullptr; }
    bool changeFrequency(float frequencyMHz) override {
        return m_tuner != nullptr && m_tuner->changeFrequency(frequencyMHz);
    }
    bool changeMode(const std::string& mode) override { return m_tuner != nullptr && m_tuner->changeMode(mode); }

private:
    Tuner* m_tuner = nullptr;
};

} // namespace corvane
