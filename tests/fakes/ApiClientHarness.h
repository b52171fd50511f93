#pragma once

#include "api/BackendClient.h"
#include "fakes/FakeScheduler.h"
#include "fakes/FakeUserAccount.h"
#include "fakes/MemoryPreferencesStore.h"
#include "preferences/Preferences.h"

#include <QNetworkAccessManager>

#include <QCoroTask>

// A backend client on a real network stack, with preferences in memory and virtual time for its
// time-outs, talking to whatever server `baseUrl` names.
class ApiClientHarness
{
public:
    explicit ApiClientHarness(const QUrl& baseUrl)
        : api(transport, preferences, account, baseUrl)
    {}

    // Runs a request to its end on a nested event loop.
    template<class T>
    static T run(QCoro::Task<T>&& task)
    {
        return QCoro::waitFor(std::move(task));
    }

    FakeScheduler time;
    QNetworkAccessManager network;
    BackendTransport transport{network, time};
    MemoryPreferencesStore store;
    Preferences preferences{store};
    FakeUserAccount account;
    BackendClient api;
};
