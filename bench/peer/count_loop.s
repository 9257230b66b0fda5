; The counting loop of count_loop.zrv for sim65 (cc65, target sim6502): the same
; instructions, about 100 million of them, returning to the simulator at the end.
        .export _main
_main:  lda #255
        sta $10
L3:     ldx #0
L2:     ldy #0
L1:     adc #1
        sta $0300
        adc #2
        sta $0301
        dey
        bne L1
        dex
        bne L2
        dec $10
        lda $10
        bne L3
        lda #0
        tax
        rts
