#pragma once

#include <QString>

// Why a cloud database operation failed, with the service's own description.
struct CloudError
{
    enum class Code
    {
        networkFailure = 4,
        serviceUnavailable = 6,
        notAuthenticated = 9,
        permissionFailure = 10,
        unknownItem = 11,
        // The record changed in the database since it was fetched (or, for a new record, it
        // exists already): fetch it again, fold in the changes, and save once more.
        serverRecordChanged = 14,
        serverRejectedRequest = 15,
        quotaExceeded = 25,
    };

    Code code = Code::serverRejectedRequest;
    QString description;
};
