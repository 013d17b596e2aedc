#include "PreviewWorker.h"

#include <atomic>
#include <new>

namespace pelto {

CPreviewWorker::CPreviewWorker(const CDIB& picture, const CMaskDIB& mask, const CAlphaPlane* alpha)
    : m_preview(picture, mask, alpha), m_thread([this] { Run(); }) {}

CPreviewWorker::~CPreviewWorker() {
    {
        const std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CPreviewWorker::Request(const ButtonParams& params, PixelArea area) {
    {
        const std::lock_guard lock(m_mutex);
        m_pending = params;
        m_pendingArea = area;
        m_nPendingRequest = ++m_nLatestRequest;
    }
    m_wake.notify_one();
}

void CPreviewWorker::Drop() {
    const std::lock_guard lock(m_mutex);
    m_pending.reset();
    ++m_nLatestRequest;
}

std::shared_ptr<CPreviewFrame> CPreviewWorker::FreeBuffer() {
    // A buffer the interface no longer holds takes the next render in place.
    for (std::shared_ptr<CPreviewFrame>& buffer : m_buffers) {
        if (!buffer) buffer = std::make_shared<CPreviewFrame>();
        if (buffer.use_count() == 1) {
            // Orders the interface's last reads of it before the writes to come.
            std::atomic_thread_fence(std::memory_order_acquire);
            return buffer;
        }
    }
    return std::make_shared<CPreviewFrame>();
}

void CPreviewWorker::Run() {
    for (;;) {
        ButtonParams params;
        PixelArea area;
        uint64_t request = 0;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_bStopping || m_pending; });
            if (m_bStopping) return;
            params = *m_pending;
            area = m_pendingArea;
            request = m_nPendingRequest;
            m_pending.reset();
        }
        std::shared_ptr<CPreviewFrame> frame = FreeBuffer();
        try {
            m_preview.RenderArea(params, area, *frame);
        } catch (const std::bad_alloc&) {
            continue; // no preview this time; OK still makes the button or reports
        }
        // Handed over on the interface thread, and only if nothing newer was asked.
        QMetaObject::invokeMethod(
            this,
            [this, request, frame = std::shared_ptr<const CPreviewFrame>(std::move(frame))] {
                if (request == m_nLatestRequest) emit ready(frame);
            },
            Qt::QueuedConnection);
    }
}

} // namespace pelto
