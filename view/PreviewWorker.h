#pragma once
// Computes bevel previews away from the user interface thread, so that the
// button dialog never waits on the engine. A request replaces any request not
// yet started; a result is handed out (through ready) only if no newer request
// was made meanwhile, so a stale bevel is never shown. Each request shades
// the area asked for, the part of the picture in sight; the rest of a frame
// shows the picture as it is, or the same values' bevel where it was shaded before.

#include "engine/BevelPreview.h"

#include <QObject>

#include <climits>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace pelto {

// A rendered preview: the picture, and its opacity when it has transparency.
struct CPreviewFrame : CPreviewCanvas {};

class CPreviewWorker : public QObject {
    Q_OBJECT
public:
    // Copies the picture, the selection and the opacity; may throw std::bad_alloc.
    CPreviewWorker(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha = nullptr);
    // Waits for a render in progress to end; its result is dropped.
    ~CPreviewWorker() override;

    // area: stored rows, the whole picture unless told.
    void Request(const ButtonParams& params, PixelArea area = kWholePicture);
    // Nothing asked so far will be handed out.
    void Drop();

signals:
    void ready(std::shared_ptr<const CPreviewFrame> frame);

private:
    void Run();
    std::shared_ptr<CPreviewFrame> FreeBuffer();

    CBevelPreview m_preview;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    static constexpr PixelArea kWholePicture{0, 0, INT_MAX, INT_MAX};

    std::optional<ButtonParams> m_pending;       // guarded by m_mutex
    PixelArea m_pendingArea;                     // guarded by m_mutex
    uint64_t m_nPendingRequest = 0;              // guarded by m_mutex
    bool m_bStopping = false;                    // guarded by m_mutex
    uint64_t m_nLatestRequest = 0;               // the interface thread's own count
    std::shared_ptr<CPreviewFrame> m_buffers[2]; // the worker's own: results handed out
    std::thread m_thread;
};

} // namespace pelto
