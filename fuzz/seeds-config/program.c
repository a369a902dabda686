/* device = 18F1 */

// CONFIG1L at 0x300000
#pragma config FOSC = HS, "WDT = ON"  // a
#ifdef X
#pragma config CONFIG1H = 0x01 /* b */
#endif
#if 0
#pragma config LVP = ON
#endif
