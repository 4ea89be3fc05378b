/* What the AVR board and the PC build do differently: where the lines are stored and how they
   are read, where the output goes, and what the board measures (the PC measures nothing). */
#ifndef BOARD_H
#define BOARD_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#ifdef __AVR__
#include <avr/io.h>
#include <avr/pgmspace.h>
#define FLASH PROGMEM
#define flash_byte(address) pgm_read_byte(address)
#define flash_pointer(address) ((const char *)pgm_read_word(address))
#define flash_length(text) strlen_P(text)
#define flash_copy(destination, source, size) memcpy_P(destination, source, size)
#define BOARD_RAM ((size_t)RAMEND - RAMSTART + 1)
#define BOARD_MEASURES 1
/* Where the stack stands where this is read: the top of what a call made there pushes. */
#define BOARD_STACK_POINTER() ((uintptr_t)SP)
#else
#define FLASH
#define flash_byte(address) (*(const unsigned char *)(address))
#define flash_pointer(address) (*(address))
#define flash_length(text) strlen(text)
#define flash_copy(destination, source, size) memcpy(destination, source, size)
/* As the smallest board: a line is cut where it is cut there. */
#define BOARD_RAM ((size_t)2048)
#define BOARD_MEASURES 0
#define BOARD_STACK_POINTER() ((uintptr_t)0)
#endif

void board_start(void);
void board_write(char c);
/* Cycles counted since board_start(). */
uint32_t board_cycles(void);
/* Fills the free RAM below the stack with a pattern, so that board_stack_used() finds how deep
   the calls made since reached. */
void board_paint_stack(void);
/* The bytes of stack the calls made at `top` (a BOARD_STACK_POINTER()) used at most. */
size_t board_stack_used(uintptr_t top);
/* Ends the program; on the board it sleeps with interrupts off, which ends a simulation. */
void board_stop(void);

#endif
