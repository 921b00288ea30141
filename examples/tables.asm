; A data module: a message table, a table of squares and a sine table,
; assembled with directives only (no CPU table needed).
	TITL "Data tables"
	HOF "INT8"
	ORG 0C000H

COUNT	EQU 16			; entries in the squares table

MESSAGES			; offsets of the messages, little-endian words
	DWL HELLO-MESSAGES, BYE-MESSAGES
HELLO	DFB "Hello, world", 0DH, 0AH, 0
BYE	DFB "Goodbye", 0

SQUARES				; n*n for n = 0..15, as 16-bit words
N	SETL 0
	DWL N*N, {N+1}*{N+1}, {N+2}*{N+2}, {N+3}*{N+3}
N	SETL 4
	DWL N*N, {N+1}*{N+1}, {N+2}*{N+2}, {N+3}*{N+3}
N	SETL 8
	DWL N*N, {N+1}*{N+1}, {N+2}*{N+2}, {N+3}*{N+3}
N	SETL 12
	DWL N*N, {N+1}*{N+1}, {N+2}*{N+2}, {N+3}*{N+3}

SINE				; sin(k * 22.5 degrees), IEEE single precision
	DFF 0.0, 0.382683432, 0.707106781, 0.923879533, 1.0

TABLE_END	EQU $
SIZE	EQU TABLE_END-MESSAGES
	END MESSAGES
