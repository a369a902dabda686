#include <xc.h>
__CONFIG(FOSC_HS &   // the crystal
         WDT_ON &
   /* no */ LVP_OFF);
__CONFIG(0x3F72U); __CONFIG(2, 0x01);
#ifdef X
__CONFIG(CP0_ON &
#endif
