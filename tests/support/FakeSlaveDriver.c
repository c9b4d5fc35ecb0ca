/* A fieldbus driver for the tests: a master whose one slave shows the same status record
 * whatever it is asked (tool 7, scanning, Out1 on, "ERROR! Control Unit!", 123.45 degrees).
 * Built three times: as it is, without vgdp_read_inputs (FAKE_WITHOUT_READ_INPUTS), and
 * claiming another interface version (FAKE_ABI_VERSION). */
#include <string.h>
#include <vgdp/vgdp.h>

#ifndef FAKE_ABI_VERSION
#define FAKE_ABI_VERSION VGDP_ABI_VERSION
#endif

VGDP_EXPORT int32_t vgdp_abi_version(void) {
    return FAKE_ABI_VERSION;
}

VGDP_EXPORT int32_t vgdp_open(uint32_t zero, const char* device) {
    (void)zero;
    (void)device;
    return 0;
}

VGDP_EXPORT int32_t vgdp_cycle(void) {
    return 0;
}

VGDP_EXPORT int32_t vgdp_add_slave(uint32_t station, uint8_t* outputRecord, uint32_t one) {
    (void)station;
    (void)outputRecord;
    (void)one;
    return 0;
}

VGDP_EXPORT int32_t vgdp_write_outputs(uint32_t station, uint8_t* outputRecord) {
    (void)station;
    (void)outputRecord;
    return 0;
}

#ifndef FAKE_WITHOUT_READ_INPUTS
static const uint8_t StatusRecord[VGDP_MESSAGE_SIZE] = {7, 0x0A, 0, 0x04, 0x39, 0x30};

VGDP_EXPORT int32_t vgdp_read_inputs(uint32_t station, uint8_t* inputRecord, uint32_t one) {
    (void)station;
    (void)one;
    memset(inputRecord, 0, VGDP_INPUT_RECORD_SIZE);
    memcpy(inputRecord + VGDP_REPLY_OFFSET, StatusRecord, sizeof StatusRecord);
    inputRecord[VGDP_VALIDITY_OFFSET_1] = 1;
    inputRecord[VGDP_VALIDITY_OFFSET_2] = 1;
    return 0;
}
#endif

VGDP_EXPORT int32_t vgdp_remove_slave(uint32_t station) {
    (void)station;
    return 0;
}

VGDP_EXPORT int32_t vgdp_close(void) {
    return 0;
}
