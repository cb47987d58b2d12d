#pragma once

#include "core/DataTables.h"
#include "core/RcrdFuncs.h"
#include "core/WaterUser.h"
#include "db/Connection.h"
#include "db/Scenarios.h"
#include "db/WnScenario.h"

#include <gtest/gtest.h>
#include <pqxx/pqxx>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace velnor::db::test {

// Each test gets a database of its own (created from the server named by the
// PG* environment variables, with the schema applied) and fresh working data.
// Without a server the tests are skipped, except under CI=true, where that is
// a failure.
class DbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WatUserRec.clear();
        WatConsRec.clear();
        StaticToDynamic();
        static int counter = 0;
        dbName_ = "velnor_t_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        try {
            pqxx::connection admin(AdminInfo());
            pqxx::nontransaction n(admin);
            n.exec("CREATE DATABASE " + dbName_);
        } catch (const std::exception& e) {
            const char* ci = std::getenv("CI");
            if (ci && std::string(ci) == "true")
                FAIL() << "no PostgreSQL server for the database tests: " << e.what();
            GTEST_SKIP() << "no PostgreSQL server (set PGHOST/PGPORT/PGDATABASE/PGUSER): " << e.what();
        }
        created_ = true;
        conn_ = Connect("UTF8");
        ApplySchema(*conn_);
    }

    void TearDown() override
    {
        conn_.reset();
        if (created_) {
            pqxx::connection admin(AdminInfo());
            pqxx::nontransaction n(admin);
            n.exec("DROP DATABASE IF EXISTS " + dbName_ + " WITH (FORCE)");
        }
        WatUserRec.clear();
        WatConsRec.clear();
        StaticToDynamic();
    }

    ConnectParams Params(const std::string& encoding) const
    {
        ConnectParams p;
        p.dbname = dbName_;
        p.clientEncoding = encoding;
        return p;
    }

    std::unique_ptr<Connection> Connect(const std::string& encoding) const
    {
        return std::make_unique<Connection>(Params(encoding));
    }

    Connection& Conn() { return *conn_; }

    // Runs SQL in a separate session and commits it (test setup).
    void Sql(const std::string& sql) const
    {
        pqxx::connection c("dbname=" + dbName_);
        pqxx::work w(c);
        w.exec("SET search_path TO hydro, public");
        w.exec(sql);
        w.commit();
    }

    // The single integer a query returns, seen by a separate session.
    long long Scalar(const std::string& sql) const
    {
        pqxx::connection c("dbname=" + dbName_);
        pqxx::work w(c);
        w.exec("SET search_path TO hydro, public");
        return w.exec(sql).at(0).at(0).as<long long>();
    }

    long long Count(const std::string& table, const std::string& where = "") const
    {
        return Scalar("SELECT count(*) FROM " + table + (where.empty() ? "" : " WHERE " + where));
    }

    const std::string& DbName() const { return dbName_; }

private:
    // The database named by PGDATABASE when the tests start serves to create
    // and drop ours (tests may point PGDATABASE elsewhere meanwhile).
    static std::string AdminInfo()
    {
        static const std::string info = [] {
            const char* db = std::getenv("PGDATABASE");
            return db ? "dbname='" + std::string(db) + "'" : std::string();
        }();
        return info;
    }

    std::string dbName_;
    bool created_ = false;
    std::unique_ptr<Connection> conn_;
};

// Builders of water users through the core's assembly operations, on WatUserRec.
inline int AddWaterSupply(const std::string& name, int population, double litres)
{
    Months cons;
    cons.fill(litres);
    WatUserRec.append();
    const int irec = static_cast<int>(WatUserRec.size()) - 1;
    AddRecordSup(NewWUId(), name, population, cons, irec);
    return WatUserRec[static_cast<std::size_t>(irec)].Geo_id;
}

// consumptors: (id, units) pairs, reference defaults.
inline int AddConsumptorUser(int category, const std::string& name, std::initializer_list<std::pair<int, int>> items)
{
    WatConsRec.clear();
    int i = 0;
    for (const auto& [id, n] : items) {
        if (category == CatFarming)
            AddExRecFarm(id, n, i++);
        else
            AddExRecInd(id, n, i++);
    }
    WatUserRec.append();
    const int irec = static_cast<int>(WatUserRec.size()) - 1;
    const int geo = NewWUId();
    ExToIntRec(category, name, geo, irec);
    return geo;
}

// An irrigation user of a method with constant meteorological series.
inline int AddIrrigation(const std::string& name, int method, std::initializer_list<std::pair<int, int>> crops,
                         int sowingDay = 90)
{
    std::vector<double> meteo;
    auto series = [&meteo](double v) { meteo.insert(meteo.end(), 12, v); };
    double phi = 38;
    int arid = 0;
    switch (method) {
    case 1: series(2); arid = 2; break;
    case 2: series(20); break;
    case 3: series(20); series(60); series(70); series(2); break;
    default: series(15); series(28); series(60); series(70); series(2); break;
    }
    WatConsRec.clear();
    int i = 0;
    for (const auto& [crop, area] : crops)
        AddExRecIrig(meteo, phi, arid, sowingDay, method, crop, area, i++);
    WatUserRec.append();
    const int irec = static_cast<int>(WatUserRec.size()) - 1;
    AddMeteoData(meteo, phi, arid, method, irec);
    const int geo = NewWUId();
    ExToIntRec(CatIrrigation, name, geo, irec);
    return geo;
}

inline int AddGroup(const std::string& name, std::initializer_list<int> members)
{
    WatConsRec.clear();
    int i = 0;
    for (int m : members)
        AddExRecGrp(m, 1, i++);
    WatUserRec.append();
    const int irec = static_cast<int>(WatUserRec.size()) - 1;
    const int geo = NewWUId();
    ExToIntRec(CatGroup, name, geo, irec);
    return geo;
}

// Saves WatUserRec as a new scenario of a new project (as Save As does).
inline void SaveAsNew(Connection& conn, TKyWnScenario& scen, const std::string& project, const std::string& name)
{
    scen.SaveAsScenario(conn, WatUserRec, [&](TKyWnScenario& s) {
        TKyProject prj;
        prj.short_descr = project;
        prj.creator = conn.UserName();
        s.project = prj;
        s.short_descr = name;
        s.KySaveScenario(conn, true, false);
        return true;
    });
}

} // namespace velnor::db::test
