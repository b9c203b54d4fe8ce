
VornName:Raindrops
VornFile:Raindrops.vrn
StepSize:220
VornsAcross:3
VornsDown:1
TotalVorns:3
VornPlacementMode:0
VornSelectionMode:0

