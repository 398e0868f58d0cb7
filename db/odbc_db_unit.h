// The external database unit: a unit without a visible window that holds
// at most one connection of the database engine.
#pragma once

#include "db/database_engine.h"
#include "ui/framework/unit_kind.h"
#include "ui/framework/unit_object.h"

#include <vector>

namespace db {

inline constexpr const char* kOdbcDbClass = "_VX_ODBCDB";

class OdbcDbUnit final : public ui::UnitObject {
public:
    using ui::UnitObject::UnitObject;
    ~OdbcDbUnit() override { ++s_generation; }
    static OdbcDbUnit* create(const ui::UnitCreateParams& params);

    Connection* connection() const { return m_connection; }
    // Keeps a new connection, closing the one held before.
    void replaceConnection(Connection* c);

    const std::vector<std::uint8_t>& kindData() const { return m_kindData; }

    // Changes whenever a database unit is made or its window goes, so a
    // unit remembered by reference is known to be still the one.
    static std::uint64_t generation() { return s_generation; }

protected:
    void onWindowGone() override;

private:
    Connection* m_connection = nullptr;
    std::vector<std::uint8_t> m_kindData;
    static inline std::uint64_t s_generation = 1;
};

} // namespace db
