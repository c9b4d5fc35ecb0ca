/* A fieldbus driver for the tests: a master whose one slave shows the same status record
 * whatever it is asked (tool 7, scanning, Out1 on, "ERROR! Control Unit!", 123.45 degrees)
 * and acknowledges every parameter request. Built several times: as it is, without
 * vgdp_read_inputs (FAKE_WITHOUT_READ_INPUTS), claiming another interface version
 * (FAKE_ABI_VERSION), and with the faults of real drivers switched on below.
 *
 * Faults:
 *   FAKE_STATEFUL        refuses a second open and every call on a master that is not open
 *   FAKE_ADD_FAILS_ONCE  the first vgdp_add_slave fails
 *   FAKE_REMOVE_FAILS    vgdp_remove_slave always fails
 *   FAKE_WORKER_THREAD   vgdp_open starts a thread of the library's own, vgdp_close ends it
 *   FAKE_HIGH_BITS       vgdp_add_slave answers 0x10000
 *   FAKE_INVALID_INPUTS  the validity words stay 0
 *   FAKE_HANGS           vgdp_read_inputs never returns
 *
 * fake_open_count and fake_close_count tell a test how often the master was opened and
 * closed; with VGDP_FAKE_LOG set in the environment every call is appended to that file. */
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vgdp/vgdp.h>
#if defined(FAKE_WORKER_THREAD) || defined(FAKE_HANGS)
#include <pthread.h>
#include <time.h>
#include <unistd.h>
#endif

#ifndef FAKE_ABI_VERSION
#define FAKE_ABI_VERSION VGDP_ABI_VERSION
#endif

static int OpenCount;
static int CloseCount;
static int MasterOpen;
static int AddCount;
static uint8_t Request[VGDP_MESSAGE_SIZE];

static int32_t Logged(const char* call, int32_t result) {
    const char* path = getenv("VGDP_FAKE_LOG");
    if (path != NULL) {
        FILE* log = fopen(path, "a");
        if (log != NULL) {
            fprintf(log, "%s %d\n", call, (int)result);
            fclose(log);
        }
    }
    return result;
}

#ifdef FAKE_STATEFUL
#define REFUSED_WHEN_CLOSED(call)                                                                  \
    if (!MasterOpen) {                                                                             \
        return Logged(call, 0x97);                                                                 \
    }
#else
#define REFUSED_WHEN_CLOSED(call)
#endif

#ifdef FAKE_WORKER_THREAD
static pthread_t Worker;
static int WorkerStop; /* read and written with the compiler's atomic builtins */

/* Spins in the library's own code, as a driver's bus thread does. */
static void* WorkerLoop(void* unused) {
    (void)unused;
    while (!__atomic_load_n(&WorkerStop, __ATOMIC_ACQUIRE)) {
        const struct timespec pause = {0, 100000};
        nanosleep(&pause, NULL);
    }
    return NULL;
}
#endif

VGDP_EXPORT int fake_open_count(void) {
    return OpenCount;
}

VGDP_EXPORT int fake_close_count(void) {
    return CloseCount;
}

VGDP_EXPORT int32_t vgdp_abi_version(void) {
    return FAKE_ABI_VERSION;
}

VGDP_EXPORT int32_t vgdp_open(uint32_t zero, const char* device) {
    (void)zero;
    (void)device;
#ifdef FAKE_STATEFUL
    if (MasterOpen) {
        return Logged("open", 0x99);
    }
#endif
    ++OpenCount;
    MasterOpen = 1;
#ifdef FAKE_WORKER_THREAD
    __atomic_store_n(&WorkerStop, 0, __ATOMIC_RELEASE);
    pthread_create(&Worker, NULL, WorkerLoop, NULL);
#endif
    return Logged("open", 0);
}

VGDP_EXPORT int32_t vgdp_cycle(void) {
    REFUSED_WHEN_CLOSED("cycle")
    return 0;
}

VGDP_EXPORT int32_t vgdp_add_slave(uint32_t station, uint8_t* outputRecord, uint32_t one) {
    (void)station;
    (void)outputRecord;
    (void)one;
    REFUSED_WHEN_CLOSED("add")
    ++AddCount;
#ifdef FAKE_ADD_FAILS_ONCE
    if (AddCount == 1) {
        return Logged("add", 0x77);
    }
#endif
#ifdef FAKE_HIGH_BITS
    return Logged("add", 0x10000);
#else
    return Logged("add", 0);
#endif
}

VGDP_EXPORT int32_t vgdp_write_outputs(uint32_t station, uint8_t* outputRecord) {
    (void)station;
    REFUSED_WHEN_CLOSED("write")
    memcpy(Request, outputRecord + VGDP_REQUEST_OFFSET, sizeof Request);
    return 0;
}

#ifndef FAKE_WITHOUT_READ_INPUTS
static const uint8_t StatusRecord[VGDP_MESSAGE_SIZE] = {7, 0x0A, 0, 0x04, 0x39, 0x30};

VGDP_EXPORT int32_t vgdp_read_inputs(uint32_t station, uint8_t* inputRecord, uint32_t one) {
    (void)station;
    (void)one;
    REFUSED_WHEN_CLOSED("read")
#ifdef FAKE_HANGS
    for (;;) {
        pause();
    }
#endif
    memset(inputRecord, 0, VGDP_INPUT_RECORD_SIZE);
    uint8_t* reply = inputRecord + VGDP_REPLY_OFFSET;
    if ((Request[1] & 0x80) != 0) {
        /* A parameter request: acknowledged, the value 0. */
        reply[0] = Request[0];
        reply[1] = 0x81;
    } else {
        memcpy(reply, StatusRecord, sizeof StatusRecord);
    }
#ifndef FAKE_INVALID_INPUTS
    inputRecord[VGDP_VALIDITY_OFFSET_1] = 1;
    inputRecord[VGDP_VALIDITY_OFFSET_2] = 1;
#endif
    return 0;
}
#endif

VGDP_EXPORT int32_t vgdp_remove_slave(uint32_t station) {
    (void)station;
    REFUSED_WHEN_CLOSED("remove")
#ifdef FAKE_REMOVE_FAILS
    return Logged("remove", 0x55);
#else
    return Logged("remove", 0);
#endif
}

VGDP_EXPORT int32_t vgdp_close(void) {
#ifdef FAKE_STATEFUL
    if (!MasterOpen) {
        return Logged("close", 0x98);
    }
#endif
#ifdef FAKE_WORKER_THREAD
    if (MasterOpen) {
        __atomic_store_n(&WorkerStop, 1, __ATOMIC_RELEASE);
        pthread_join(Worker, NULL);
    }
#endif
    ++CloseCount;
    MasterOpen = 0;
    return Logged("close", 0);
}
