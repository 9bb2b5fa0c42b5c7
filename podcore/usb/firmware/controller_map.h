/* Addresses and bits of the pod controller's registers that the pod firmware drives and the
 * virtual pod models, as the controller's technical reference lists them. Plain C macros, so
 * that the firmware (sdcc) and the controller model (C++) share one table. */
#ifndef POD_CONTROLLER_MAP_H
#define POD_CONTROLLER_MAP_H

/* External data memory: the 8 KB program and data RAM, the scratch RAM, the registers. */
#define XMEM_PROGRAM_BYTES 0x2000
#define XMEM_SCRATCH 0xE000
#define XMEM_SCRATCH_BYTES 0x0200

#define XREG_CPUCS 0xE600
#define XREG_IFCONFIG 0xE601
#define XREG_PINFLAGSAB 0xE602
#define XREG_PINFLAGSCD 0xE603
#define XREG_FIFORESET 0xE604
#define XREG_FIFOPINPOLAR 0xE609
#define XREG_EP1OUTCFG 0xE610
#define XREG_EP1INCFG 0xE611
#define XREG_EP2CFG 0xE612
#define XREG_EP4CFG 0xE613
#define XREG_EP6CFG 0xE614
#define XREG_EP8CFG 0xE615
#define XREG_EP2FIFOCFG 0xE618
#define XREG_EP4FIFOCFG 0xE619
#define XREG_EP6FIFOCFG 0xE61A
#define XREG_EP8FIFOCFG 0xE61B
#define XREG_EP6AUTOINLENH 0xE624
#define XREG_EP6AUTOINLENL 0xE625
#define XREG_EP8AUTOINLENH 0xE626
#define XREG_EP8AUTOINLENL 0xE627
#define XREG_EP1OUTBC 0xE68D
#define XREG_EP1INBC 0xE68F
#define XREG_EP1OUTCS 0xE6A1
#define XREG_EP1INCS 0xE6A2
#define XREG_EP6CS 0xE6A5
#define XREG_EP8CS 0xE6A6
#define XREG_EP6FIFOFLGS 0xE6A9
#define XREG_EP8FIFOFLGS 0xE6AA
#define XREG_EP6FIFOBCH 0xE6AF
#define XREG_EP6FIFOBCL 0xE6B0
#define XREG_EP8FIFOBCH 0xE6B1
#define XREG_EP8FIFOBCL 0xE6B2
#define XREG_EP1OUTBUF 0xE780
#define XREG_EP1INBUF 0xE7C0
#define EP1_BUFFER_BYTES 64

/* Special function registers beyond the 8051's own. */
#define SFR_IOA 0x80
#define SFR_IOB 0x90
#define SFR_MPAGE 0x92
#define SFR_IOC 0xA0
#define SFR_IOD 0xB0
#define SFR_IOE 0xB1
#define SFR_OEA 0xB2
#define SFR_OEB 0xB3
#define SFR_OEC 0xB4
#define SFR_OED 0xB5
#define SFR_OEE 0xB6
#define SFR_EP2468STAT 0xAA
#define SFR_EP68FIFOFLGS 0xAC
#define SFR_EP01STAT 0xBA

/* CPUCS */
#define CPUCS_8051RES 0x01
#define CPUCS_CLKSPD_MASK 0x18
#define CPUCS_CLKSPD_48MHZ 0x10

/* IFCONFIG */
#define IFCONFIG_IFCLKSRC 0x80 /* the interface clock is internal */
#define IFCONFIG_3048MHZ 0x40  /* ... at 48 MHz, not 30 */
#define IFCONFIG_IFCLKOE 0x20  /* ... and driven out on the IFCLK pin */
#define IFCONFIG_ASYNC 0x08
#define IFCONFIG_IFCFG_MASK 0x03
#define IFCONFIG_SLAVE_FIFO 0x03

/* PINFLAGSAB: FLAGB in the high nibble, FLAGA in the low one. */
#define PINFLAG_EP6_FULL 0x0E
#define PINFLAG_EP8_FULL 0x0F

/* FIFORESET */
#define FIFORESET_NAKALL 0x80
#define FIFORESET_EP_MASK 0x0F

/* EP1OUTCFG, EP1INCFG, EPxCFG */
#define EPCFG_VALID 0x80
#define EPCFG_DIR_IN 0x40
#define EPCFG_TYPE_MASK 0x30
#define EPCFG_TYPE_BULK 0x20
#define EPCFG_SIZE_1024 0x08
#define EPCFG_BUF_MASK 0x03
#define EPCFG_BUF_QUAD 0x00
#define EPCFG_BUF_DOUBLE 0x02
#define EPCFG_BUF_TRIPLE 0x03

/* EPxFIFOCFG */
#define FIFOCFG_AUTOIN 0x08
#define FIFOCFG_ZEROLENIN 0x04
#define FIFOCFG_WORDWIDE 0x01

/* EP1OUTCS, EP1INCS */
#define EPCS_BUSY 0x02

/* EPxCS of endpoints 2 to 8 */
#define EPCS_NPAK_SHIFT 4
#define EPCS_FULL 0x08
#define EPCS_EMPTY 0x04

/* EPxFIFOFLGS */
#define FIFOFLGS_EF 0x02
#define FIFOFLGS_FF 0x01

/* EP2468STAT */
#define EP2468STAT_EP8FULL 0x80
#define EP2468STAT_EP8EMPTY 0x40
#define EP2468STAT_EP6FULL 0x20
#define EP2468STAT_EP6EMPTY 0x10

/* EP68FIFOFLGS */
#define EP68FIFOFLGS_EP8EF 0x20
#define EP68FIFOFLGS_EP8FF 0x10
#define EP68FIFOFLGS_EP6EF 0x02
#define EP68FIFOFLGS_EP6FF 0x01

/* EP01STAT */
#define EP01STAT_EP1INBSY 0x04
#define EP01STAT_EP1OUTBSY 0x02

#endif
