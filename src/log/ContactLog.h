#pragma once
// The in-memory log: records 1..qsoCount() in file order (the record number shown to the
// operator is the index), the running total of points, and the capacity of 12000.

#include "core/QsoRecord.h"

#include <vector>

namespace corvane {

class ContactLog {
public:
    static constexpr int kCapacity = 12000;

    int qsoCount() const { return static_cast<int>(m_records.size()); }
    bool isFull() const { return qsoCount() >= kCapacity; }
    // Sum of the numeric Points texts, kept as a single like the score display.
    float totalPoints() const { return m_totalPoints; }

    // 1-based, as the record numbers are.
    const QsoRecord& record(int index) const { return m_records.at(static_cast<std::size_t>(index - 1)); }
    const std::vector<QsoRecord>& records() const { return m_records; }

    void clear();
    // Adds a record at the end; false when the log is full.
    bool append(QsoRecord record);
    void removeLast();
    void replace(int index, QsoRecord record);
    // Removes record index; the later records move up by one.
    void erase(int index);
    void assign(std::vector<QsoRecord> records);

    static float pointsValue(const QsoRecord& record);

private:
    void recomputeTotal();

    std::vector<QsoRecord> m_records;
    float m_totalPoints = 0.0f;
};

} // namespace corvane
