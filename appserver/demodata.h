#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

struct sqlite3;

namespace zenvo::appserver {

struct DemoOptions {
    int items = 5000;
    quint32 seed = 1;
};

// Replaces the content of every table with the demo data set (creating the schema first when
// needed). The result depends only on the options: not on the clock, the locale or the fonts
// installed. Runs in one transaction; throws std::runtime_error on failure, leaving the
// database as it was.
void fillDemoData(sqlite3 *db, const DemoOptions &options);

// A demo login. Names and passwords are upper case, as the login boxes force upper case.
struct DemoUser {
    QString name;
    QString password;
    int type = 3;   // MusteriTipi: 1 and 2 sales representatives, 3 and 4 dealers
    int carino = 0; // customer account; 0 for sales representatives
    bool active = true;
};

// The users fillDemoData creates, in SIRANO order (the first has SIRANO 1). Each has the
// machine identity "DEMO-" + name registered as well.
const std::vector<DemoUser> &demoUsers();

struct UserRow {
    int sirano = 0;
    QString name;
    int type = 0;
    int carino = 0;
    bool active = true;
};

// Lets machineId log in as userName; a machine already registered is moved to that user.
// Blanks are removed from machineId, as the client removes them from its identity.
// Throws std::runtime_error when the user does not exist or SQLite fails.
void registerMachine(sqlite3 *db, const QString &machineId, const QString &userName);

// All users, by SIRANO.
std::vector<UserRow> listUsers(sqlite3 *db);

} // namespace zenvo::appserver
