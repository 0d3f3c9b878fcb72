#pragma once

// libpq, the server's client library, as the server engine and the connection test reach it: one
// table of its functions. The library and those it brings (Kerberos, LDAP, TLS) cost every start
// of the program a sixth of its processor time before the menu, so it is loaded when a server
// archive is first used: libpq.so.5 on Debian, libpq.dll beside the program on Windows. A program
// without it works on file archives.

#include <libpq-fe.h>

// clang-format off
#define PALIO_PQ_FUNZIONI(X)                                                                              \
    X(PQclear) X(PQcmdTuples) X(PQconnectdbParams) X(PQconnectionNeedsPassword)                         \
    X(PQconnectionUsedPassword) X(PQdb) X(PQdescribePrepared) X(PQerrorMessage) X(PQexec) X(PQexecParams)        \
    X(PQexecPrepared) X(PQfinish) X(PQfname) X(PQgetResult) X(PQgetisnull) X(PQgetlength) X(PQgetvalue) X(PQnfields)    \
    X(PQntuples) X(PQpingParams) X(PQprepare) X(PQputCopyData) X(PQputCopyEnd) X(PQresultErrorField) X(PQresultErrorMessage)              \
    X(PQresultStatus) X(PQsendQuery) X(PQsetNoticeProcessor) X(PQstatus) X(PQtransactionStatus) X(PQuser)
// clang-format on

namespace storage::motore {

struct Libpq {
#define PALIO_PQ_MEMBRO(f) decltype(&::f) f = nullptr;
    PALIO_PQ_FUNZIONI(PALIO_PQ_MEMBRO)
#undef PALIO_PQ_MEMBRO
};

// Loaded on the first call; throws storage::Error, in Italian, when the library is missing or
// lacks a function.
const Libpq& libpq();

}  // namespace storage::motore
