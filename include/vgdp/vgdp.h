/* SPDX-License-Identifier: MIT
 * Copyright (c) 2026 The VG-Config developers
 *
 * vgdp: the fieldbus master driver interface of VG-Config, version 1.
 *
 * A driver is a shared library that drives a fieldbus (DP) master card with the control unit
 * as its one slave. It exports the functions below with C linkage; the program loads it with
 * dlopen when the settings name it and calls the functions from its main thread only, for one
 * unit at a time. fieldbus-driver.md, in the documentation of VG-Config, says what each
 * function must do.
 *
 * Results: 0 is success, anything else is an error code of the driver's own that the program
 * shows (the low 16 bits, except for vgdp_read_inputs, whose whole result is shown).
 */
#ifndef VGDP_VGDP_H
#define VGDP_VGDP_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* What vgdp_abi_version returns for this version of the interface. */
#define VGDP_ABI_VERSION 1

/* The output record: the slave's parameter bytes at 0..6 (set by the program before
 * vgdp_add_slave), the unit's 6 request bytes at 514..519. */
#define VGDP_OUTPUT_RECORD_SIZE 1304
#define VGDP_REQUEST_OFFSET 514

/* The input record, filled by vgdp_read_inputs: the unit's 6 reply bytes at 771..776 and two
 * 32-bit little-endian validity words, both non-zero while the slave's inputs are valid. */
#define VGDP_INPUT_RECORD_SIZE 1300
#define VGDP_REPLY_OFFSET 771
#define VGDP_VALIDITY_OFFSET_1 1292
#define VGDP_VALIDITY_OFFSET_2 1296

/* Bytes of one request or reply of the unit. */
#define VGDP_MESSAGE_SIZE 6

#if defined(__GNUC__)
#define VGDP_EXPORT __attribute__((visibility("default")))
#else
#define VGDP_EXPORT
#endif

/* Returns VGDP_ABI_VERSION of the header the driver was built with. */
VGDP_EXPORT int32_t vgdp_abi_version(void);

/* Opens the master. `zero` is always 0; `device` is "COM" followed by the COM port number of
 * the settings ("COM1".."COM6"), for a driver that tells its cards apart by it. */
VGDP_EXPORT int32_t vgdp_open(uint32_t zero, const char* device);

/* Runs one exchange cycle on the bus: the outputs last written go to the slave, its inputs
 * are taken in. */
VGDP_EXPORT int32_t vgdp_cycle(void);

/* Adds the slave at `station` and parameterises it from the output record
 * (VGDP_OUTPUT_RECORD_SIZE bytes). `one` is always 1. */
VGDP_EXPORT int32_t vgdp_add_slave(uint32_t station, uint8_t* outputRecord, uint32_t one);

/* Takes the output record (VGDP_OUTPUT_RECORD_SIZE bytes) as the slave's new outputs; the
 * request is at VGDP_REQUEST_OFFSET. The driver only reads the record. */
VGDP_EXPORT int32_t vgdp_write_outputs(uint32_t station, uint8_t* outputRecord);

/* Fills the input record (VGDP_INPUT_RECORD_SIZE bytes) with the slave's latest inputs and
 * the validity words. `one` is always 1. */
VGDP_EXPORT int32_t vgdp_read_inputs(uint32_t station, uint8_t* inputRecord, uint32_t one);

/* Removes the slave at `station`. */
VGDP_EXPORT int32_t vgdp_remove_slave(uint32_t station);

/* Closes the master. */
VGDP_EXPORT int32_t vgdp_close(void);

/* The functions as pointer types, for a program that looks them up with dlsym. */
typedef int32_t (*vgdp_abi_version_fn)(void);
typedef int32_t (*vgdp_open_fn)(uint32_t zero, const char* device);
typedef int32_t (*vgdp_cycle_fn)(void);
typedef int32_t (*vgdp_add_slave_fn)(uint32_t station, uint8_t* outputRecord, uint32_t one);
typedef int32_t (*vgdp_write_outputs_fn)(uint32_t station, uint8_t* outputRecord);
typedef int32_t (*vgdp_read_inputs_fn)(uint32_t station, uint8_t* inputRecord, uint32_t one);
typedef int32_t (*vgdp_remove_slave_fn)(uint32_t station);
typedef int32_t (*vgdp_close_fn)(void);

#ifdef __cplusplus
}
#endif

#endif /* VGDP_VGDP_H */
