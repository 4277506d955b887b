// The iteration counts of a whole picture, computed rows ahead of the
// calling thread, which takes them strictly in raster order.
#ifndef QUIMBAR_ZAEHLWERK_H
#define QUIMBAR_ZAEHLWERK_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "farbgesetz.h"
#include "kerne/zeilen.h"

// The counts of a whole picture. Rows are taken in raster order (row index
// k = 0 is y = 500) by worker threads and, whenever the row it needs next is
// not ready yet, by the calling thread itself; zeile(k) hands row k to the
// calling thread as soon as it is ready. Whoever computes a row reads only
// the snapshot and writes only that row.
//
// The workers belong to a pool that lives as long as the process: they are
// started once, by the first pass that asks for them, and sleep between
// passes, so a pass pays for waking them, not for starting them. A pass
// that finds the pool busy (another thread's pass) computes on its own.
//
// Hand-over: every finished row gets its flag, and whoever finds the rows
// after the ready prefix done moves the prefix on (rows may finish out of
// order). The calling thread reads the prefix. When the row it needs is not
// in it, it computes rows nobody has taken yet; when there are none, it
// looks again for a moment, then sleeps until a batch of rows is ready, so
// that a worker pays for a wake-up (a system call) once per batch instead of
// once per row.
class Zaehlwerk {
public:
    // im[k]: the plane imaginary part of row k. Up to `arbeiter` workers
    // take part (fewer if the system refuses threads; with none, every row
    // is computed on the calling thread).
    Zaehlwerk(const kerne::Zeilenauftrag& auftrag, const double* im, kerne::Zeilenkern kern, int arbeiter);
    ~Zaehlwerk();

    Zaehlwerk(const Zaehlwerk&) = delete;
    Zaehlwerk& operator=(const Zaehlwerk&) = delete;

    // Row k in raster order, once computed.
    const uint16_t* zeile(int k) {
        if (fertig_.load(std::memory_order_acquire) <= k) warte(k);
        return zaehler_ + static_cast<size_t>(k) * RASTER_BREITE;
    }

    // Computes the next row nobody has taken; false when there is none.
    bool rechne_naechste();

    static constexpr size_t GROESSE = static_cast<size_t>(RASTER_BREITE) * RASTER_HOEHE;

private:
    // Rows the calling thread waits for once it sleeps: enough that wake-ups
    // are rare, few enough that the rows left after the last one are set
    // quickly.
    static constexpr int STAPEL = 16;
    // Looks at the prefix before sleeping, with a pause between looks (on
    // x86 a few microseconds in all).
    static constexpr int BLICKE = 64;
    static constexpr int NIEMAND = RASTER_HOEHE + 1;  // no target: nobody sleeps

    void warte(int k);

    const kerne::Zeilenauftrag auftrag_;
    const double* const im_;
    const kerne::Zeilenkern kern_;
    uint16_t* zaehler_;                              // the pool's buffer, or eigener_
    std::unique_ptr<uint16_t[]> eigener_;            // when the pool is busy
    bool mit_pool_ = false;                          // workers of the pool take part
    std::atomic<bool> bereit_[RASTER_HOEHE];         // row k computed
    std::atomic<int> naechste_{0};                   // next row nobody has taken
    std::atomic<int> fertig_{0};                     // rows 0 .. fertig_ - 1 are all computed
    std::atomic<int> ziel_{NIEMAND};                 // the calling thread sleeps until fertig_ reaches it
    std::mutex mutex_;
    std::condition_variable fertig_cv_;
};

// Worker threads the pool has started so far (for tests).
int gestartete_arbeiter();

#endif
