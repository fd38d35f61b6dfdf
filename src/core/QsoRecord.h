#pragma once
// One contact of the contest: ten text fields, in the order of a log.txt line.

#include <array>
#include <string>

namespace corvane {

struct QsoRecord {
    std::string call;
    std::string kilometers;
    std::string gridR;
    std::string miles;
    std::string gridS;
    std::string qsoDate;
    std::string qsoTime;
    std::string points;
    std::string mode;
    std::string frequency;

    static constexpr int kFieldCount = 10;

    std::array<const std::string*, kFieldCount> fields() const {
        return {&call, &kilometers, &gridR, &miles, &gridS, &qsoDate, &qsoTime, &points, &mode, &frequency};
    }
    std::array<std::string*, kFieldCount> fields() {
        return {&call, &kilometers, &gridR, &miles, &gridS, &qsoDate, &qsoTime, &points, &mode, &frequency};
    }

    friend bool operator==(const QsoRecord&, const QsoRecord&) = default;
};

} // namespace corvane
