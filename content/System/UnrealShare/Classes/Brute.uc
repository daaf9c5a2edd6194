//=============================================================================
// Brute: A hulking gunner: cannons for forearms, slow and hard to kill.
//=============================================================================
class Brute expands ScriptedPawn;

#exec MESH IMPORT MESH=Brute1 ANIVFILE=MODELS\Brute1_a.3d DATAFILE=MODELS\Brute1_d.3d
#exec MESH ORIGIN MESH=Brute1 X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=Brute1 SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=Brute1 SEQ=Sleep STARTFRAME=1 NUMFRAMES=20 RATE=6
#exec MESH SEQUENCE MESH=Brute1 SEQ=Charge STARTFRAME=21 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Brute1 SEQ=WalkFire STARTFRAME=33 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Brute1 SEQ=StillFire STARTFRAME=45 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Brute1 SEQ=GutShot STARTFRAME=57 NUMFRAMES=12 RATE=12
#exec MESH SEQUENCE MESH=Brute1 SEQ=PistolWhip STARTFRAME=69 NUMFRAMES=14 RATE=14
#exec MESH SEQUENCE MESH=Brute1 SEQ=Punch STARTFRAME=83 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=Brute1 SEQ=Dead1 STARTFRAME=95 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=Brute1 SEQ=Dead2 STARTFRAME=111 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=Brute1 SEQ=Dead3 STARTFRAME=127 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=Brute1 SEQ=Dead4 STARTFRAME=143 NUMFRAMES=16 RATE=15
#exec MESH NOTIFY MESH=Brute1 SEQ=WalkFire TIME=0.5 FUNCTION=SpawnLeftShot
#exec MESH NOTIFY MESH=Brute1 SEQ=StillFire TIME=0.3 FUNCTION=SpawnLeftShot
#exec MESH NOTIFY MESH=Brute1 SEQ=StillFire TIME=0.7 FUNCTION=SpawnRightShot
#exec MESH NOTIFY MESH=Brute1 SEQ=GutShot TIME=0.5 FUNCTION=SpawnShot
#exec MESH NOTIFY MESH=Brute1 SEQ=PistolWhip TIME=0.55 FUNCTION=WhipDamageTarget
#exec MESH NOTIFY MESH=Brute1 SEQ=Punch TIME=0.5 FUNCTION=PunchDamageTarget
#exec MESHMAP SCALE MESHMAP=Brute1 X=0.1 Y=0.1 Z=0.2
#exec MESHMAP SETTEXTURE MESHMAP=Brute1 NUM=0 TEXTURE=UnrealShare.Skins.JBrute1

defaultproperties
{
	Health=220
	GroundSpeed=160
	CollisionRadius=48.000000
	CollisionHeight=52.000000
	Mesh=LodMesh'UnrealShare.Brute1'
	RangedProjectile=Class'UnrealShare.BruteProjectile'
	Acquire=Sound'UnrealShare.Brute.BruteAcquire'
	HitSound1=Sound'UnrealShare.Brute.BruteHit'
	Die=Sound'UnrealShare.Brute.BruteDie'
}
