#include "board.h"

#ifdef __AVR__
#include <avr/interrupt.h>
#include <avr/sleep.h>

#define STACK_PATTERN 0xA5

extern uint8_t __heap_start; /* the end of .bss: the stack may grow down to here */

static volatile uint16_t timer_overflows;

ISR(TIMER1_OVF_vect)
{
    ++timer_overflows;
}

void board_start(void)
{
    UBRR0 = 0;
    UCSR0A = 1 << U2X0;
    UCSR0B = 1 << TXEN0;
    UCSR0C = 1 << UCSZ01 | 1 << UCSZ00;
    TCCR1A = 0;
    TCCR1B = 1 << CS10; /* every cycle */
    TIMSK1 = 1 << TOIE1;
    sei();
}

void board_write(char c)
{
    loop_until_bit_is_set(UCSR0A, UDRE0);
    UDR0 = (uint8_t)c;
}

uint32_t board_cycles(void)
{
    uint16_t overflows, count;
    cli();
    count = TCNT1;
    overflows = timer_overflows;
    /* An overflow not yet counted: the count read wrapped after it. */
    if ((TIFR1 & 1 << TOV1) && count < 0x8000)
        ++overflows;
    sei();
    return (uint32_t)overflows << 16 | count;
}

void board_paint_stack(void)
{
    uint8_t *at;
    for (at = &__heap_start; at < (uint8_t *)SP; ++at)
        *at = STACK_PATTERN;
}

size_t board_stack_used(uintptr_t top)
{
    const uint8_t *deepest = &__heap_start;
    while (*deepest == STACK_PATTERN)
        ++deepest;
    return top - (uintptr_t)deepest + 1;
}

void board_stop(void)
{
    loop_until_bit_is_set(UCSR0A, UDRE0);
    cli();
    sleep_enable();
    sleep_cpu();
}

#else
#include <stdio.h>
#include <stdlib.h>

void board_start(void)
{
}

void board_write(char c)
{
    putchar(c);
}

uint32_t board_cycles(void)
{
    return 0;
}

void board_paint_stack(void)
{
}

size_t board_stack_used(uintptr_t top)
{
    (void)top;
    return 0;
}

void board_stop(void)
{
    exit(fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE);
}
#endif
