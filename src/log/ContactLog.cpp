#include "log/ContactLog.h"

#include "core/NumberText.h"

namespace corvane {

float ContactLog::pointsValue(const QsoRecord& record) {
    const auto value = parseNumber(record.points);
    return value ? static_cast<float>(*value) : 0.0f;
}

void ContactLog::clear() {
    m_records.clear();
    m_totalPoints = 0.0f;
}

bool ContactLog::append(QsoRecord record) {
    if (isFull()) {
        return false;
    }
    m_totalPoints += pointsValue(record);
    m_records.push_back(std::move(record));
    return true;
}

void ContactLog::removeLast() {
    if (!m_records.empty()) {
        m_records.pop_back();
        recomputeTotal();
    }
}

void ContactLog::replace(int index, QsoRecord record) {
    m_records.at(static_cast<std::size_t>(index - 1)) = std::move(record);
    recomputeTotal();
}

void ContactLog::erase(int index) {
    m_records.erase(m_records.begin() + (index - 1));
    recomputeTotal();
}

void ContactLog::assign(std::vector<QsoRecord> records) {
    m_records = std::move(records);
    recomputeTotal();
}

void ContactLog::recomputeTotal() {
    m_totalPoints = 0.0f;
    for (const auto& r : m_records) {
        m_totalPoints += pointsValue(r);
    }
}

} // namespace corvane
