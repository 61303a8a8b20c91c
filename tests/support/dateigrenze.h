#pragma once

#include <sys/resource.h>

// While it lives (and is on), no file of this process grows beyond `bytes`:
// a write there fails as on a full disk (the program ignores SIGXFSZ). Only
// the soft limit is lowered, so that it can be raised again.
class Dateigrenze {
public:
    explicit Dateigrenze(bool an = true, rlim_t bytes = 0) {
        getrlimit(RLIMIT_FSIZE, &alt_);
        rlimit eng = alt_;
        if (an)
            eng.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &eng);
    }
    ~Dateigrenze() { setrlimit(RLIMIT_FSIZE, &alt_); }
    Dateigrenze(const Dateigrenze&) = delete;
    Dateigrenze& operator=(const Dateigrenze&) = delete;

private:
    rlimit alt_{};
};
