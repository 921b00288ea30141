; conditional blocks: the IF value, skipped lines with blank address columns,
; nesting, output switched off inside a block and restored by ENDI
	HOF	"INT8"
SIZE	EQU	2
	IF	SIZE-2
	DFB	1		; skipped
	ELSE
	DFB	2
	IF	0
	DFB	3		; a false block inside
	ELSE
	DFB	4
	ENDI
	ENDI
	IF	SIZE
	HEX	"OFF"
	DFB	5		; assembled, not written
	ENDI
	DFB	6		; written at its own address
	IF	LATER
	DWL	LATER
	ENDI
LATER	DFB	7
	ENDI			; no block open
	END
