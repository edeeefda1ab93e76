/* Time spent flushing files to stable storage. The bench program defines
   fsync itself (SyncClock.c), so the flushes of the capture code, linked in
   or loaded as the plug-in, are timed where they happen. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* Nanoseconds spent in fsync since the program started. */
long long SyncNanoseconds(void);
/* Calls of fsync since the program started. */
long long SyncCalls(void);

#ifdef __cplusplus
}
#endif
