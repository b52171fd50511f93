#pragma once

#include "platform/wayland/PipeWriters.h"
#include "platform/wayland/PipedPasteboard.h"

#include <memory>

class WaylandConnection;
struct zwlr_data_control_device_v1;
struct zwlr_data_control_source_v1;

// The Wayland clipboard through the compositor's data-control protocol, which reads and sets it
// whether or not one of our windows has the focus. Every format the owner offers is kept. Reads
// ask the owner for one format at a time through a pipe, each bounded in time and size; after
// one late format the rest are skipped. Main thread only.
class DataControlPasteboard final : public PipedPasteboard
{
public:
    // `connection` must offer a seat and data-control.
    DataControlPasteboard(WaylandConnection& connection, Scheduler& scheduler);
    ~DataControlPasteboard() override;
    DataControlPasteboard(const DataControlPasteboard&) = delete;
    DataControlPasteboard& operator=(const DataControlPasteboard&) = delete;

    void setItem(const PasteboardItem& item) override;
    QCoro::Task<PasteboardItem> snapshot() override;
    QCoro::Task<std::optional<QString>> plainText() override;

private:
    struct Offer;
    struct Source;

    static void dataOffer(void* data, zwlr_data_control_device_v1* device,
                          struct zwlr_data_control_offer_v1* offer);
    static void selection(void* data, zwlr_data_control_device_v1* device,
                          struct zwlr_data_control_offer_v1* offer);
    static void finished(void* data, zwlr_data_control_device_v1* device);
    void serve(Source* source, const QString& type, int fd);
    void cancelled(Source* source);
    OpenFormat opener(std::shared_ptr<Offer> offer);

    WaylandConnection& m_connection;
    zwlr_data_control_device_v1* m_device = nullptr;
    // Announced by data_offer, until the selection event that follows says what it is.
    std::shared_ptr<Offer> m_announced;
    std::shared_ptr<Offer> m_current;
    // Our own item while the clipboard holds it.
    std::unique_ptr<Source> m_own;
    PipeWriters m_writers;
};
