/* SPDX-License-Identifier: MIT
 * Copyright (c) 2026 The VG-Config developers
 *
 * An example fieldbus driver for VG-Config.
 *
 * It has the shape of a real driver: it keeps the master's state, checks the calls against it,
 * takes the unit's request from the output record and puts the unit's reply and the validity
 * words into the input record. What a real driver asks of its master card is marked "card:";
 * here a stand-in answers instead: a unit at rest, at tool 0 in its zero position, that
 * refuses every parameter and tool request.
 *
 * Build it against the installed header, for example:
 *     cc -shared -fPIC -fvisibility=hidden -o libvgdp-example.so example_driver.c
 * and name it on a "D:" line of Konfig.Cfg or with vgctl --fieldbus-driver.
 */
#include <string.h>
#include <vgdp/vgdp.h>

/* The driver's own result codes. */
enum {
    EXAMPLE_OK = 0,
    EXAMPLE_NOT_OPEN = 0x0201,
    EXAMPLE_ALREADY_OPEN = 0x0202,
    EXAMPLE_NO_SLAVE = 0x0203,
    EXAMPLE_BAD_ARGUMENT = 0x0204
};

static struct {
    int open;
    int slaveAdded;
    uint32_t station;
    uint8_t outputs[VGDP_MESSAGE_SIZE]; /* what the master sends on the next cycle */
    uint8_t inputs[VGDP_MESSAGE_SIZE];  /* what the slave sent on the last cycle */
    int inputsValid;
} master;

/* card: one exchange with the slave. The stand-in answers a status request (byte 1 without
 * bit 7) with its status record, and a parameter or tool request with a refusal that echoes
 * the number asked for. */
static void card_exchange(const uint8_t* request, uint8_t* reply) {
    memset(reply, 0, VGDP_MESSAGE_SIZE);
    if ((request[1] & 0x80) == 0) {
        reply[1] = 0x01; /* zero position */
        return;
    }
    reply[0] = request[0];
    reply[1] = (uint8_t)(0x80 | ((request[1] & 0x02) != 0 ? 0x02 : 0x04));
}

static int slave_ready(uint32_t station) {
    return master.open && master.slaveAdded && station == master.station;
}

static void put_word32(uint8_t* at, uint32_t value) {
    int i;
    for (i = 0; i < 4; ++i) {
        at[i] = (uint8_t)(value >> (8 * i));
    }
}

VGDP_EXPORT int32_t vgdp_abi_version(void) {
    return VGDP_ABI_VERSION;
}

VGDP_EXPORT int32_t vgdp_open(uint32_t zero, const char* device) {
    if (zero != 0 || device == NULL) {
        return EXAMPLE_BAD_ARGUMENT;
    }
    if (master.open) {
        return EXAMPLE_ALREADY_OPEN;
    }
    /* card: open the card that `device` ("COM1".."COM6") stands for. */
    memset(&master, 0, sizeof master);
    master.open = 1;
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_cycle(void) {
    if (!master.open) {
        return EXAMPLE_NOT_OPEN;
    }
    if (master.slaveAdded) {
        card_exchange(master.outputs, master.inputs);
        master.inputsValid = 1;
    }
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_add_slave(uint32_t station, uint8_t* outputRecord, uint32_t one) {
    if (!master.open) {
        return EXAMPLE_NOT_OPEN;
    }
    if (outputRecord == NULL || one != 1) {
        return EXAMPLE_BAD_ARGUMENT;
    }
    /* card: parameterise the slave from the parameter bytes at the start of the record. */
    master.slaveAdded = 1;
    master.station = station;
    master.inputsValid = 0;
    memcpy(master.outputs, outputRecord + VGDP_REQUEST_OFFSET, VGDP_MESSAGE_SIZE);
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_write_outputs(uint32_t station, uint8_t* outputRecord) {
    if (!slave_ready(station)) {
        return master.open ? EXAMPLE_NO_SLAVE : EXAMPLE_NOT_OPEN;
    }
    memcpy(master.outputs, outputRecord + VGDP_REQUEST_OFFSET, VGDP_MESSAGE_SIZE);
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_read_inputs(uint32_t station, uint8_t* inputRecord, uint32_t one) {
    uint32_t valid;
    if (!master.open) {
        return EXAMPLE_NOT_OPEN;
    }
    if (inputRecord == NULL || one != 1) {
        return EXAMPLE_BAD_ARGUMENT;
    }
    memset(inputRecord, 0, VGDP_INPUT_RECORD_SIZE);
    valid = slave_ready(station) && master.inputsValid ? 1u : 0u;
    if (valid) {
        memcpy(inputRecord + VGDP_REPLY_OFFSET, master.inputs, VGDP_MESSAGE_SIZE);
    }
    put_word32(inputRecord + VGDP_VALIDITY_OFFSET_1, valid);
    put_word32(inputRecord + VGDP_VALIDITY_OFFSET_2, valid);
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_remove_slave(uint32_t station) {
    if (!slave_ready(station)) {
        return master.open ? EXAMPLE_NO_SLAVE : EXAMPLE_NOT_OPEN;
    }
    master.slaveAdded = 0;
    master.inputsValid = 0;
    return EXAMPLE_OK;
}

VGDP_EXPORT int32_t vgdp_close(void) {
    if (!master.open) {
        return EXAMPLE_NOT_OPEN;
    }
    /* card: close the card. */
    master.open = 0;
    master.slaveAdded = 0;
    return EXAMPLE_OK;
}
