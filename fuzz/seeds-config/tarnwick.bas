device = 18F1234

config
    CLKSEL = INTRC,     // Internal RC oscillator
    WDOG = OFF          // Watchdog disabled
