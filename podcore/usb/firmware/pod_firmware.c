/* The pod firmware: sets the controller up for the sampling front end (pod_hardware.md), reports
 * its status byte on endpoint 1 IN and takes the host's commands on endpoint 1 OUT. The samples
 * never pass through this program: the front end writes them into the endpoint 6 and 8 FIFOs,
 * which commit every full packet to the host by themselves. */
#include "controller_map.h"
#include "pod_board.h"

#define XREG(address) (*(volatile __xdata unsigned char *)(address))

#define CPUCS XREG(XREG_CPUCS)
#define IFCONFIG XREG(XREG_IFCONFIG)
#define PINFLAGSAB XREG(XREG_PINFLAGSAB)
#define FIFORESET XREG(XREG_FIFORESET)
#define EP1OUTCFG XREG(XREG_EP1OUTCFG)
#define EP1INCFG XREG(XREG_EP1INCFG)
#define EP2CFG XREG(XREG_EP2CFG)
#define EP4CFG XREG(XREG_EP4CFG)
#define EP6CFG XREG(XREG_EP6CFG)
#define EP8CFG XREG(XREG_EP8CFG)
#define EP6FIFOCFG XREG(XREG_EP6FIFOCFG)
#define EP8FIFOCFG XREG(XREG_EP8FIFOCFG)
#define EP6AUTOINLENH XREG(XREG_EP6AUTOINLENH)
#define EP6AUTOINLENL XREG(XREG_EP6AUTOINLENL)
#define EP8AUTOINLENH XREG(XREG_EP8AUTOINLENH)
#define EP8AUTOINLENL XREG(XREG_EP8AUTOINLENL)
#define EP1OUTBC XREG(XREG_EP1OUTBC)
#define EP1INBC XREG(XREG_EP1INBC)
#define EP1OUTBUF(i) XREG(XREG_EP1OUTBUF + (i))
#define EP1INBUF XREG(XREG_EP1INBUF)

/* The controller takes the high address byte of MOVX @Ri from MPAGE; the C runtime's start-up
 * code must not write port C instead. */
__sfr __at(SFR_MPAGE) _XPAGE;
__sfr __at(SFR_EP01STAT) EP01STAT;
__sfr __at(SFR_OEA) OEA;
__sfr __at(SFR_IOC) IOC;
__sfr __at(SFR_OEC) OEC;
__sbit __at(BOARD_RUN_SBIT) RUN;
__sbit __at(BOARD_OVERFLOW_SBIT) OVERFLOW;

/* Writes to the FIFO registers need a few cycles to reach the interface clock's side. */
#define SYNC_DELAY() __asm__("nop\n nop\n nop\n nop")

#define STATUS_READY 0x55
#define STATUS_NO_BREAK 0x00
#define STATUS_BREAK 0x01

#define COMMAND_STOP 0x00
#define COMMAND_START 0x01

static unsigned char status;
static __bit sampling;

static void StopFrontEnd(void) {
    RUN = 0;
    sampling = 0;
}

/* Empties both sample FIFOs, with the host's requests answered NAK meanwhile. */
static void ResetFifos(void) {
    FIFORESET = FIFORESET_NAKALL;
    SYNC_DELAY();
    FIFORESET = FIFORESET_NAKALL | 6;
    SYNC_DELAY();
    FIFORESET = FIFORESET_NAKALL | 8;
    SYNC_DELAY();
    FIFORESET = 0;
    SYNC_DELAY();
}

static void ConfigureController(void) {
    CPUCS = CPUCS_CLKSPD_48MHZ;
    RUN = 0;
    OEA = BOARD_RUN_MASK;
    IOC = BOARD_MIN_DIVISOR;
    OEC = 0xFF;

    /* Synchronous slave FIFOs on the internal 48 MHz clock, which the front end runs from. */
    IFCONFIG = IFCONFIG_IFCLKSRC | IFCONFIG_3048MHZ | IFCONFIG_IFCLKOE | IFCONFIG_SLAVE_FIFO;
    SYNC_DELAY();
    PINFLAGSAB = (unsigned char)(PINFLAG_EP8_FULL << 4 | PINFLAG_EP6_FULL);
    SYNC_DELAY();

    EP1OUTCFG = EPCFG_VALID | EPCFG_TYPE_BULK;
    SYNC_DELAY();
    EP1INCFG = EPCFG_VALID | EPCFG_TYPE_BULK;
    SYNC_DELAY();
    EP2CFG = 0;
    SYNC_DELAY();
    EP4CFG = 0;
    SYNC_DELAY();
    EP6CFG = EPCFG_VALID | EPCFG_DIR_IN | EPCFG_TYPE_BULK | EPCFG_BUF_DOUBLE;
    SYNC_DELAY();
    EP8CFG = EPCFG_VALID | EPCFG_DIR_IN | EPCFG_TYPE_BULK;
    SYNC_DELAY();
    ResetFifos();

    /* Every full packet goes to the host as it fills: the aux stream one byte at a time, the
     * main stream a 16-bit word at a time. */
    EP6FIFOCFG = FIFOCFG_AUTOIN;
    SYNC_DELAY();
    EP8FIFOCFG = FIFOCFG_AUTOIN | FIFOCFG_WORDWIDE;
    SYNC_DELAY();
    EP6AUTOINLENH = BOARD_PACKET_BYTES >> 8;
    SYNC_DELAY();
    EP6AUTOINLENL = BOARD_PACKET_BYTES & 0xFF;
    SYNC_DELAY();
    EP8AUTOINLENH = BOARD_PACKET_BYTES >> 8;
    SYNC_DELAY();
    EP8AUTOINLENL = BOARD_PACKET_BYTES & 0xFF;
    SYNC_DELAY();
}

/* A start while sampling restarts: the front end latches its divisor as RUN rises, and no
 * sample of the earlier run stays in the FIFOs. */
static void StartFrontEnd(unsigned char divisor) {
    StopFrontEnd();
    ResetFifos();
    IOC = divisor < BOARD_MIN_DIVISOR ? BOARD_MIN_DIVISOR : divisor;
    status = STATUS_NO_BREAK;
    sampling = 1;
    RUN = 1;
}

/* {1, divisor} starts sampling, {0} stops it; anything else is ignored. */
static void TakeCommand(void) {
    unsigned char count = EP1OUTBC;
    if (count == 2 && EP1OUTBUF(0) == COMMAND_START)
        StartFrontEnd(EP1OUTBUF(1));
    else if (count == 1 && EP1OUTBUF(0) == COMMAND_STOP)
        StopFrontEnd();
}

void main(void) {
    StopFrontEnd();
    ConfigureController();
    EP1OUTBC = 0;
    status = STATUS_READY;

    for (;;) {
        if (!(EP01STAT & EP01STAT_EP1INBSY)) {
            EP1INBUF = status;
            EP1INBC = 1;
        }
        if (!(EP01STAT & EP01STAT_EP1OUTBSY)) {
            TakeCommand();
            EP1OUTBC = 0;
        }
        /* Lost samples stay reported until the next start. */
        if (sampling && OVERFLOW)
            status = STATUS_BREAK;
    }
}
