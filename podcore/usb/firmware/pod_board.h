/* How the pod's board wires the sampling front end to the controller's port pins. Plain C
 * macros, shared by the pod firmware (sdcc) and the virtual pod's model of the board (C++). */
#ifndef POD_BOARD_H
#define POD_BOARD_H

/* RUN, an output on PA0: high while the front end samples. A pull-down holds it low while the
 * pin is not driven, as during the controller's reset. */
#define BOARD_RUN_SBIT 0x80
#define BOARD_RUN_MASK 0x01

/* OVF, an input on PA1: the front end raises it when a sample found its FIFO full, and holds it
 * until RUN falls. */
#define BOARD_OVERFLOW_SBIT 0x81
#define BOARD_OVERFLOW_MASK 0x02

/* DIV, the whole of port C: the sample clock divisor. The front end latches it when RUN rises
 * and samples at 48 MHz / (DIV + 1). */

/* The front end's fastest clock: 48 MHz / 2. */
#define BOARD_MIN_DIVISOR 1

/* Bytes a FIFO commits as one packet: the library expects whole 512-byte packets on both
 * streams. */
#define BOARD_PACKET_BYTES 512

#endif
