# Read by ctest after the tests of jobshop_tests are discovered (their names are in
# JOBSHOP_GTESTS): labels by name, so that `ctest -L` / `-LE` picks a part of the suite.
#   process  starts the built program (or a shell) as a process (tests/program_runner.h and the
#            like), and so depends on the program's build and on the machine's load;
#   slow     takes more than a few seconds in the plain build with two tests at once.
# A test in neither runs in this process in well under a second.

# By suite: a suite with one test that starts a process is labelled whole.
set(JOBSHOP_PROCESS_SUITES
  BuildVersion CampaignBounds CampaignOutputs CampaignClaim CampaignComparison CampaignCollect
  CampaignFile CampaignPlan CampaignRun CampaignSlurm CampaignStatistics OptimaCommand GoldenRuns
  InputFileKinds InputWarnings Interruption UnevenRows CountOnlyCommand CommandOptions OptionParser Program FolderLock
  NichingCampaignRun NichingRun RecordCommit RefusalWording ReportAlignment ReportCommand ReportPage ReportCoverage ReportJson
  ReportJsonFt06 ReportMarks ReportProgram ReportRecords TextFileOutput TraceMeasuresEndToEnd
  OutputRule CountPieces CountWorkers CountSlurmJob OptimaSearch OptimaBackboneCommand ReportBackbone
  CountPiecesBackbone)
# Four seconds or more each with two tests at once on two cores (ctest -j2, December 2026), nearly
# all of them exact counts and kills of real executions.
set(JOBSHOP_SLOW_TESTS
  BuildVersion.AskedOfTheRepositoryOrTheProjectOutsideOne
  CampaignClaim.ARunnerKilledAtRandomMomentsThenRestarted
  CampaignClaim.TwoRunnersAtOnceRunEachExecutionOnce
  CommandOptions.EveryCommandReadsItsArgumentsByTheSameRules
  CountMetamorphic.Ft06
  CountPieces.ManyPiecesCutTheTreeFinerAndStillAddUp
  CountPieces.MergedPiecesWriteTheWholeCountsOptimaJson
  CountPiecesBackbone.MergedPiecesWriteTheWholeCountsBackboneOnFt06AndLa02
  CountWorkers.WorkersWriteTheWholeCountsOptimaJson
  CountSlurmJob.TheArrayHoldsThePiecesLeftByNumber
  CountMetamorphic.La02Within655
  CountMetamorphic.La02Within656
  CountMetamorphic.RandomInstances
  OptimaBackbone.CountedMatchesListedOnLa02
  ExactCount.AStoppedCountResumesToTheExactCount
  ExactCount.ATableTooSmallReplacesEntriesAndStaysExact
  ExactCount.AgreesWithTheListingWalkOnFt06UpTo60
  ExactCount.AgreesWithTheListingWalkOnFt06Within61And62
  ExactCount.AgreesWithTheListingWalkOnLa02
  ExactCount.AgreesWithTheListingWalkOnRandomInstances
  ExactCount.FlowShopsAdmitEveryCombinationOfMachineOrders
  Program.AdjacentSeedsShareNoRun
  RecordCommit.AKillAtAnyWriteLeavesWholeRecordsOnceTheNextExecutionStarts
  TreeEstimate.WithinFourStandardErrorsOfTheExactCount)

foreach(test IN LISTS JOBSHOP_GTESTS)
  # Prefix/Suite.Name/Parameter: the suite is between the prefix and the dot.
  string(REGEX REPLACE "\\..*" "" suite "${test}")
  string(REGEX REPLACE ".*/" "" suite "${suite}")
  set(labels)
  # list(FIND), as ctest reads this file under the oldest policies, which lack if(IN_LIST).
  list(FIND JOBSHOP_PROCESS_SUITES "${suite}" process)
  list(FIND JOBSHOP_SLOW_TESTS "${test}" slow)
  if(NOT process EQUAL -1)
    list(APPEND labels process)
  endif()
  if(NOT slow EQUAL -1)
    list(APPEND labels slow)
  endif()
  if(labels)
    set_tests_properties("${test}" PROPERTIES LABELS "${labels}")
  endif()
endforeach()
