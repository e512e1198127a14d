sr = 44100
kr = 4410
ksmps = 10
nchnls = 1

instr 1
  kenv linseg 0, 0.05, 1, p3 - 0.1, 1, 0.05, 0
  asig oscili p4 * kenv, p5, 1
  out asig
endin
