; Pod firmware for the 8051 core of the pod's USB controller.
;
; It reports "ready" (0x55) on the status endpoint 0x81, takes the start command {1, divisor}
; on endpoint 0x01, keeps the divisor and from then on reports status 0 (no break). The sample
; engine that fills endpoints 0x86 and 0x88 is not part of this program yet.
;
; Hand-assembled: each instruction's bytes follow its semicolon, and make_image.py lays them
; (and the DB data) into the 8192-byte image, so the build needs no 8051 tool chain.

EP1OUTBC  EQU 0E68Dh        ; writing re-arms EP1 OUT
EP1INBC   EQU 0E68Fh        ; writing the byte count arms EP1 IN
EP1OUTCS  EQU 0E6A1h        ; bit 1: busy (no command waiting)
EP1INCS   EQU 0E6A2h        ; bit 1: busy (the host has not read the status yet)
EP1OUTBUF EQU 0E780h
EP1INBUF  EQU 0E7C0h

          ORG  0000h
          LJMP start                    ; 02 01 00

          ORG  0100h
start:    MOV  SP,#5Fh                  ; 75 81 5F
          MOV  R7,#55h                  ; 7F 55       R7: the status to report
report:   MOV  DPTR,#EP1INBUF           ; 90 E7 C0
          MOV  A,R7                     ; EF
          MOVX @DPTR,A                  ; F0
          MOV  DPTR,#EP1INBC            ; 90 E6 8F
          MOV  A,#01h                   ; 74 01
          MOVX @DPTR,A                  ; F0          one status byte armed
wait:     MOV  DPTR,#EP1OUTCS           ; 90 E6 A1
          MOVX A,@DPTR                  ; E0
          JB   ACC.1,nocmd              ; 20 E1 10
          MOV  DPTR,#EP1OUTBUF          ; 90 E7 80
          MOVX A,@DPTR                  ; E0
          CJNE A,#01h,rearm             ; B4 01 05    only {1, divisor} starts sampling
          MOV  R7,#00h                  ; 7F 00       sampling: no break so far
          INC  DPTR                     ; A3
          MOVX A,@DPTR                  ; E0
          MOV  R6,A                     ; FE          R6: the sample clock divisor
rearm:    MOV  DPTR,#EP1OUTBC           ; 90 E6 8D
          MOVX @DPTR,A                  ; F0
nocmd:    MOV  DPTR,#EP1INCS            ; 90 E6 A2
          MOVX A,@DPTR                  ; E0
          JB   ACC.1,wait               ; 20 E1 E2    status not read yet
          SJMP report                   ; 80 D5

ident:    DB   'Tarnwick pod firmware 1.0', 0
; The device descriptor: USB 2.0, vendor class, 64-byte endpoint 0, vendor 1209h, product 0001h.
devdesc:  DB   18, 01h, 00h, 02h, 0FFh, 0FFh, 0FFh, 64
          DB   09h, 12h, 01h, 00h, 00h, 00h, 01h, 02h, 03h, 01h
