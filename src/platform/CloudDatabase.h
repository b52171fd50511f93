#pragma once

#include "platform/CloudError.h"
#include "platform/CloudRecord.h"

#include <QCoroTask>

#include <optional>
#include <variant>

// The user's private cloud database, holding records by name. Every operation completes on the
// main thread.
class CloudDatabase
{
public:
    enum class AccountStatus
    {
        couldNotDetermine,
        available,
        restricted,
        noAccount,
        temporarilyUnavailable,
    };

    using FetchResult = std::variant<CloudRecord, CloudError>;

    virtual ~CloudDatabase() = default;

    virtual QCoro::Task<AccountStatus> accountStatus() = 0;
    // Fails with `unknownItem` when no record has that name.
    virtual QCoro::Task<FetchResult> fetchRecord(QString recordName) = 0;
    // Creates or replaces the record. Fails with `serverRecordChanged` when the stored record is
    // not the version that was fetched.
    virtual QCoro::Task<std::optional<CloudError>> saveRecord(CloudRecord record) = 0;
};
